#pragma once

// A UniformTarget that records what the core asks of the shader program, one
// line a call: "use", "unuse", "int NAME VALUE", "float NAME",
// "float2 NAME", "texture NAME UNIT".

#include "data/UniformTarget.h"

#include <string>
#include <vector>

class RecordingUniforms : public UniformTarget {
public:
    std::vector<std::string> calls;

    void use() override { calls.push_back("use"); }
    void unuse() override { calls.push_back("unuse"); }
    void setInt(const char* name, int value) override { add("int", name, value); }
    void setFloat(const char* name, float) override { calls.push_back(std::string("float ") + name); }
    void setFloat2(const char* name, float, float) override { calls.push_back(std::string("float2 ") + name); }
    void setTexture(const char* name, int unit) override { add("texture", name, unit); }

private:
    void add(const char* kind, const char* name, int value) {
        calls.push_back(std::string(kind) + " " + name + " " + std::to_string(value));
    }
};
