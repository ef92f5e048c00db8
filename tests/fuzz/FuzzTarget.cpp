// One libFuzzer target per check of FuzzChecks.h: CMake compiles this file
// once per target with QM_FUZZ_CHECK naming the check.
#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The loaders' console lines are expected here and only slow the fuzzer down.
    std::cout.setstate(std::ios::failbit);
    std::cerr.setstate(std::ios::failbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = QM_FUZZ_CHECK(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
