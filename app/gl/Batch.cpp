#include "app/gl/Batch.h"

#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "app/gl/ControlCallback.h"
#include "app/gl/Globals.h"
#include "app/gl/Screenshot.h"
#include "app/gl/Window.h"
#include "panel/ControlPanel.h"
#include "settings/ControlIds.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {
std::string pendingScreenshot;
}

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
    // Fitted before the settings, so that a setting given as well wins.
    if (commandLine.has("fitToData")) {
        double fit = 0.0;
        if (!parseNumber(commandLine.value("fitToData"), fit))
            std::cerr << "Ignoring -fitToData: '" << commandLine.value("fitToData") << "' is not a number" << std::endl;
        else if (fit != 0.0 && !sceneReady()) std::cerr << "Ignoring -fitToData: no dataset is open" << std::endl;
        else if (fit != 0.0) controlCallback(controlId::fitToData);
    }
    applyCommandLineSettings(commandLine, controlCallback);
    if (commandLine.has("screenshot")) pendingScreenshot = commandLine.value("screenshot");
}

void afterFrame() {
    if (pendingScreenshot.empty()) return;
    const std::string name = pendingScreenshot;
    pendingScreenshot.clear();
    std::exit(saveScreenshot(name, true) ? 0 : 1);
}
