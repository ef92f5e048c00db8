// Upload of the data textures; the texel contents come from TextureBuffers.
#include "data/FlowData.h"

#include "data/TextureUnits.h"
#include "data/UniformTarget.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <iostream>
#include <vector>

namespace {

// Creates and binds a texture on the active unit with the allocated size and
// no data, then uploads the data area at its origin.
GLuint uploadTexture(GLint internalFormat, GLenum format, TextureSize data, const std::vector<float>& texels) {
    const TextureSize allocated = textureAllocatedSize(data, GLEW_ARB_texture_non_power_of_two != 0);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, allocated.width, allocated.height, 0, format, GL_FLOAT, nullptr);
    if (!texels.empty())
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, data.width, data.height, format, GL_FLOAT, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    return texture;
}

void deleteTexture(unsigned int& texture) {
    if (texture != 0) {
        const GLuint name = texture;
        glDeleteTextures(1, &name);
        texture = 0;
    }
}

const char* glErrorText(GLenum error) { return reinterpret_cast<const char*>(gluErrorString(error)); }

}  // namespace

void FlowData::createVelocityTexture(int magnitudeSlot) {
    textureReleaser_ = [](FlowData& data) { data.deleteTextures(); };
    deleteTexture(velocityTexture_);

    const TextureSize data = textureDataSize();
    const TextureSize allocated = textureAllocatedSize(data, GLEW_ARB_texture_non_power_of_two != 0);
    std::cout << "Debuging: texture velocity: " << allocated.width << " x " << allocated.height << "\n";
    std::vector<float> texels = velocityTexels(channel(0), channel(1), channel(2), channel(magnitudeSlot), data);

    glActiveTexture(GL_TEXTURE0 + textureUnit::velocity);
    velocityTexture_ = uploadTexture(GL_RGBA32F_ARB, GL_RGBA, data, texels);
    if (uniforms_) {
        uniforms_->use();
        uniforms_->setTexture("tex_velocity", textureUnit::velocity);
        uniforms_->unuse();
    }
    std::cout << "texture velocity erzeugt and uploaded\n";
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) std::cerr << "Error creating texture of velocity!!! : " << glErrorText(error) << "\n";
}

void FlowData::createDataTexture1() { createDataTexture(1); }
void FlowData::createDataTexture2() { createDataTexture(2); }

void FlowData::createDataTexture(int channel) {
    if (channel < 1 || channel > maxDataChannels) return;
    textureReleaser_ = [](FlowData& data) { data.deleteTextures(); };
    unsigned int& texture = dataTextures_[static_cast<std::size_t>(channel)];
    deleteTexture(texture);
    const int slot = channel + 2;
    const TextureSize data = textureDataSize();
    std::vector<float> texels = luminanceTexels(this->channel(slot), data);

    glActiveTexture(GL_TEXTURE0 + textureUnit::dataChannel);
    texture = uploadTexture(GL_LUMINANCE32F_ARB, GL_LUMINANCE, data, texels);
    if (channel == 1) std::cout << "Debuging: texture data one channel 3 created\n";
    else if (channel == 2) std::cout << "Debuging: texture data two channel 4 created\n";
    else std::cout << "Debuging: texture data " << channel << " channel " << slot << " created\n";
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        std::cerr << "Error while creating texture data channel " << slot << ": " << glErrorText(error) << "\n";
}

void FlowData::bindDataTexture1() { bindDataTexture(1); }
void FlowData::bindDataTexture2() { bindDataTexture(2); }

void FlowData::bindDataTexture(int channel) {
    if (channel < 1 || channel > maxDataChannels) return;
    if (dataTextures_[static_cast<std::size_t>(channel)] == 0 && channel <= dataChannelCount_)
        createDataTexture(channel);
    glActiveTexture(GL_TEXTURE0 + textureUnit::dataChannel);
    glBindTexture(GL_TEXTURE_2D, dataTextures_[static_cast<std::size_t>(channel)]);
    if (uniforms_) {
        uniforms_->use();
        uniforms_->setTexture("tex_data", textureUnit::dataChannel);
        uniforms_->unuse();
    }
    std::cout << "Debuging: upload channel " << channel + 2 << "\n";
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        std::cerr << "Error uploading texture data " << channel << " : " << glErrorText(error) << "\n";
}

void FlowData::deleteTextures() {
    deleteTexture(velocityTexture_);
    deleteDataTextures();
}

void FlowData::deleteDataTextures() {
    for (unsigned int& texture : dataTextures_) deleteTexture(texture);
}
