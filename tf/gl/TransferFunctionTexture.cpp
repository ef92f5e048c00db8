#include "tf/TransferFunction.h"

#include "data/UniformTarget.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <iostream>

namespace {

GLenum unitEnum(int unit) { return static_cast<GLenum>(GL_TEXTURE0_ARB + unit); }

}  // namespace

void TransferFunction::updateTexture() {
    // The name is kept for the object's life: the texture is deleted and
    // re-created under it on every rebuild.
    if (textureName == 0) {
        GLuint name = 0;
        glGenTextures(1, &name);
        textureName = name;
    } else {
        GLuint name = textureName;
        glDeleteTextures(1, &name);
    }
    glActiveTextureARB(unitEnum(textureUnit()));
    glBindTexture(GL_TEXTURE_1D, textureName);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA8, colorTableTexels, 0, GL_RGBA, GL_UNSIGNED_BYTE, colorTable.data());
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    textureStale = false;
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::cerr << "Error while creating the transfer function texture: "
                  << reinterpret_cast<const char*>(gluErrorString(error)) << std::endl;
    }
}

void TransferFunction::upload() {
    if (textureStale || textureName == 0) updateTexture();
    glActiveTextureARB(unitEnum(textureUnit()));
    glBindTexture(GL_TEXTURE_1D, textureName);
    if (shader) {
        shader->use();
        shader->setTexture(isArrowTf ? "tex_tfarrow" : "tex_transfer", textureUnit());
        shader->unuse();
    }
    std::cout << (isArrowTf ? "DEBUG: arrow tf texture uploaded" : "DEBUG: tf texture uploaded") << std::endl;
}

void TransferFunction::releaseTexture() {
    if (textureName == 0) return;
    GLuint name = textureName;
    glDeleteTextures(1, &name);
    textureName = 0;
    textureStale = true;
}
