#include "render/ShaderProgram.h"

#include <cstdio>

std::unique_ptr<char[]> readTextFile(const char* path) {
    if (!path) return nullptr;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return nullptr;
    std::unique_ptr<char[]> text;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long length = std::ftell(file);
        std::rewind(file);
        if (length >= 1) {
            text.reset(new char[length + 1]);
            size_t got = std::fread(text.get(), 1, static_cast<size_t>(length), file);
            text[got] = '\0';
        }
    }
    std::fclose(file);
    return text;
}
