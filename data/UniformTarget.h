#pragma once

// What the GL-free core needs from the shader program: switch it on and off
// and set uniforms by name. The GL layer's ShaderProgram implements it; tests
// use a recording fake. Core objects hold it as a plain observing pointer.
class UniformTarget {
public:
    virtual ~UniformTarget() = default;
    virtual void use() = 0;
    virtual void unuse() = 0;
    virtual void setInt(const char* name, int value) = 0;
    virtual void setFloat(const char* name, float value) = 0;
    virtual void setFloat2(const char* name, float a, float b) = 0;
    virtual void setTexture(const char* name, int unit) = 0;
};
