// Fuzz target for loading options files. Whatever the file holds, the load
// must end, leave every setting within the panel's limits and every transfer
// function in the shape the editor and the colour table rely on, and what it
// left must save and load again.
//
// Build and run by hand (not part of the CMake build), from the repository root:
//   clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. tests/fuzz/options_fuzz.cpp \
//       options/*.cpp tf/TfPointList.cpp tf/ColorTable.cpp tf/ColorChooser.cpp tf/TransferFunction.cpp \
//       tf/TransferFunctionHistogram.cpp tf/TransferFunctionSet.cpp streamlines/*.cpp data/*.cpp \
//       render/Camera.cpp settings/*.cpp -o /tmp/options_fuzz
//   mkdir -p /tmp/options_corpus && tail -n +2 tests/golden/options_default.xml > /tmp/options_corpus/default
//   /tmp/options_fuzz -max_total_time=300 -max_len=8192 /tmp/options_corpus
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "options/OptionsFile.h"
#include "render/Camera.h"
#include "settings/LiveVariables.h"
#include "settings/Settings.h"
#include "streamlines/StreamlineSet.h"
#include "tf/TransferFunctionSet.h"

namespace {

struct Scene {
    Camera camera;
    TransferFunctionSet tfs = createTransferFunctions(nullptr, 0, 2, nullptr);
    StreamlineSet lines{nullptr, 0, 1, 0.005f, 0.4f, 0.2f};
    OptionsFile options{&camera};

    Scene() {
        resetLiveVariables();
        options.attach({tfs[0], tfs[1], tfs[2], tfs[3]}, &lines);
    }

    bool valid() const {
        for (const Setting& s : settings()) {
            const double v = s.value();
            if (!std::isfinite(v) || (s.limited && (v < s.low || v > s.high))) return false;
        }
        for (int i = 0; i < 4; ++i) {
            const TfPoint* p = tfs[i]->points().first();
            if (p == nullptr || p->position != 0.0f) return false;
            int count = 0;
            for (; p != nullptr; p = p->next.get()) {
                ++count;
                if (!(p->markerWidth > 0.0f) || !(p->position >= 0.0f && p->position <= 4.0f)) return false;
                if (p->next && p->next->position < p->position) return false;
                if (!p->next && p->position != 4.0f) return false;
            }
            if (count < 2) return false;
        }
        return true;
    }
};

std::string temporaryName(const char* what) {
    return std::string("/tmp/qm_options_fuzz_") + std::to_string(getpid()) + what;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cerr.setstate(std::ios::failbit);  // the load's own messages are expected here
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = temporaryName(".xml");
    {
        std::ofstream out(input, std::ios::binary);
        out << "<?xml version=\"1.0\"?>\r\n";
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Scene scene;
    scene.options.load(input);
    if (!scene.valid()) std::abort();

    const std::string saved = temporaryName("_saved.xml");
    if (!scene.options.save(saved)) std::abort();
    Scene again;
    if (!again.options.load(saved) || !again.valid()) std::abort();
    return 0;
}
