#include "render/ShaderProgram.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

void ShaderProgram::load(const std::string& folder, int exitCode) {
    std::cout << "Loading Shaders... " << std::endl;
    vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    std::unique_ptr<char[]> vertexText = readTextFile((folder + vertexFile).c_str());
    std::unique_ptr<char[]> fragmentText = readTextFile((folder + fragmentFile).c_str());
    std::cout << "vertexShader: " << vertexShader << std::endl;
    std::cout << "fragmentShader: " << fragmentShader << std::endl;
    if (!vertexText || !fragmentText) {
        std::cout << "Problem loading shaders! Could not load them!" << std::endl;
        std::exit(exitCode);
    }
    const char* vs = vertexText.get();
    const char* fs = fragmentText.get();
    glShaderSourceARB(vertexShader, 1, &vs, nullptr);
    glShaderSourceARB(fragmentShader, 1, &fs, nullptr);
    vertexText.reset();
    fragmentText.reset();

    std::cout << "Compiling vertex shader: " << std::endl;
    glCompileShaderARB(vertexShader);
    checkLog(vertexShader, exitCode);
    std::cout << "Compiling fragment shader: " << std::endl;
    glCompileShaderARB(fragmentShader);
    checkLog(fragmentShader, exitCode);

    program = glCreateProgramObjectARB();
    glAttachObjectARB(program, vertexShader);
    glAttachObjectARB(program, fragmentShader);
    glLinkProgramARB(program);
}

void ShaderProgram::checkLog(unsigned shader, int exitCode) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length > 1) {
        std::vector<char> log(static_cast<size_t>(length));
        GLsizei written = 0;
        glGetInfoLogARB(shader, length, &written, log.data());
        std::cout << "compiler_log:\n" << log.data() << std::flush;
        std::exit(exitCode);
    }
    std::cout << "compiling succeeded!\n" << std::flush;
}

void ShaderProgram::use() { glUseProgramObjectARB(program); }
void ShaderProgram::unuse() { glUseProgramObjectARB(0); }

void ShaderProgram::setTexture(const char* name, int unit) { setInt(name, unit); }

void ShaderProgram::setInt(const char* name, int value) {
    glUniform1iARB(glGetUniformLocationARB(program, name), value);
}

void ShaderProgram::setFloat(const char* name, float value) {
    glUniform1fARB(glGetUniformLocationARB(program, name), value);
}

void ShaderProgram::setFloat2(const char* name, const float* values) {
    glUniform2fvARB(glGetUniformLocationARB(program, name), 1, values);
}

void ShaderProgram::setFloat2(const char* name, float a, float b) {
    const float values[2] = {a, b};
    setFloat2(name, values);
}

void ShaderProgram::setFloat3(const char* name, float a, float b, float c) {
    glUniform3fARB(glGetUniformLocationARB(program, name), a, b, c);
}
