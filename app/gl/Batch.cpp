#include "app/gl/Batch.h"

#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "app/StandardErrorWatch.h"
#include "app/ViewerArguments.h"
#include "app/gl/ControlCallback.h"
#include "app/gl/Globals.h"
#include "app/gl/Screenshot.h"
#include "app/gl/Window.h"
#include "panel/ControlPanel.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {
bool batchRun = false;
std::string pendingScreenshot;
}  // namespace

void beginBatchRun(const ViewerArguments& arguments) {
    batchRun = arguments.given.count("screenshot") != 0;
    watchStandardError();
}

bool isBatchRun() { return batchRun; }

void applyBatchOptions() {
    if (commandLine.has("options")) {
        if (sceneReady()) {
            loadOptionsFile(commandLine.value("options"));
            // As after picking the file in the panel: the controls show what was loaded.
            if (controlPanel) controlPanel->sync_live();
        } else {
            std::cerr << "Ignoring -options: no dataset is open" << std::endl;
        }
    }
    applyCommandLineSettings(commandLine, controlCallback);
    if (commandLine.has("screenshot")) pendingScreenshot = commandLine.value("screenshot");
}

void afterFrame() {
    if (pendingScreenshot.empty()) return;
    const std::string name = pendingScreenshot;
    pendingScreenshot.clear();
    const bool saved = saveScreenshot(name, true);
    std::exit(saved && !standardErrorWritten() ? 0 : 1);
}
