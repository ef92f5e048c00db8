#pragma once

#include "data/UniformTarget.h"

#include <memory>
#include <string>

// Reads a whole text file; null when the path is null, the file cannot be
// opened or it is empty.
std::unique_ptr<char[]> readTextFile(const char* path);

// The one GLSL program, built from "src/Flow.vert" and "src/Flow.frag".
class ShaderProgram : public UniformTarget {
public:
    // The shader pair, below the folder load() is given.
    static constexpr const char* vertexFile = "src/Flow.vert";
    static constexpr const char* fragmentFile = "src/Flow.frag";

    // Reads folder + vertexFile and fragmentFile, compiles and
    // links; ends the process with exitCode when a file is missing or empty
    // or a compile log is not empty.
    void load(const std::string& folder = "", int exitCode = 0);
    void use() override;
    void unuse() override;
    void setTexture(const char* name, int unit) override;
    void setInt(const char* name, int value) override;
    void setFloat(const char* name, float value) override;
    void setFloat2(const char* name, float a, float b) override;
    void setFloat2(const char* name, const float* values);
    void setFloat3(const char* name, float a, float b, float c);

    unsigned program = 0;
    unsigned fragmentShader = 0;
    unsigned vertexShader = 0;

private:
    void checkLog(unsigned shader, int exitCode);
};
