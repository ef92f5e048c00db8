#include "app/gl/FrameExport.h"

#include "app/FramePattern.h"
#include "app/gl/Globals.h"
#include "app/gl/Screenshot.h"
#include "app/gl/TimeSteps.h"
#include "data/FlowData.h"

#include <filesystem>
#include <iostream>

bool exportAllTimesteps(const std::string& pattern) {
    std::string name;
    std::string error;
    if (!formatStepName(pattern, 0, name, error)) {
        std::cerr << "Cannot export the time steps: " << error << std::endl;
        return false;
    }
    if (!sceneReady()) {
        std::cerr << "Cannot export the time steps: no dataset is open" << std::endl;
        return false;
    }
    const int steps = flowData->stepCount();
    int written = 0;
    for (int step = 0; step < steps; ++step) {
        formatStepName(pattern, step, name, error);
        const std::filesystem::path folder = std::filesystem::path(name).parent_path();
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
        if (!showTimeStep(step)) {
            std::cerr << "Time step " << step << " not written: its data could not be read" << std::endl;
            continue;
        }
        if (saveScreenshot(name, true)) ++written;
        else std::cerr << "Time step " << step << " not written: '" << name << "' could not be saved" << std::endl;
    }
    std::cout << "- Wrote " << written << " of " << steps << " time steps." << std::endl;
    return written == steps;
}
