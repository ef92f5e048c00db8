// Fuzz target for the XML reader. Any input must end in a tree or in one of
// the reader's message texts, within bounded depth and time; a tree that was
// read must come back unchanged after writing it and reading it again.
//
// Build and run by hand (not part of the CMake build):
//   clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
//       tests/fuzz/xml_fuzz.cpp options/XMLNodes.cpp options/SafeFileWrite.cpp -o /tmp/xml_fuzz
//   /tmp/xml_fuzz -max_total_time=300 -max_len=8192 /tmp/xml_corpus
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "options/XMLNodes.h"

namespace {

std::string written(const XMLNodes& node) {
    std::ostringstream out;
    node.write(out, 0);
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    XMLNodes first;
    try {
        first.parse(in);
    } catch (const char* message) {
        if (std::strcmp(message, "Bad File") != 0) std::abort();
        return 0;
    }

    const std::string text = written(first);
    std::istringstream again(text);
    XMLNodes second;
    try {
        second.parse(again);
    } catch (const char*) {
        std::abort();  // what was written must read back
    }
    // write() covers every name, text and child, so equal output means equal trees.
    if (second.name() != first.name() || second.text() != first.text() || second.childCount() != first.childCount() ||
        written(second) != text) {
        std::abort();
    }
    return 0;
}
