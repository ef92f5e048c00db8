#include "options/SafeFileWrite.h"

#include <cstdio>
#include <fstream>

std::string temporaryFileFor(const std::string& fileName) { return fileName + ".tmp"; }

bool writeFileSafely(const std::string& fileName, const std::function<void(std::ostream&)>& writeContent) {
    const std::string temporary = temporaryFileFor(fileName);
    std::ofstream out(temporary, std::ios::out | std::ios::trunc);
    if (!out.good()) return false;
    try {
        writeContent(out);
    } catch (...) {
        out.close();
        std::remove(temporary.c_str());
        throw;
    }
    out.flush();
    bool complete = out.good();
    out.close();
    complete = complete && !out.fail();
    if (!complete || std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
