#include "app/gl/Batch.h"

#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "app/StandardErrorWatch.h"
#include "app/ViewerArguments.h"
#include "app/gl/ColorMapChoice.h"
#include "app/gl/ControlCallback.h"
#include "app/gl/FrameExport.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/Screenshot.h"
#include "app/gl/Window.h"
#include "panel/ControlPanel.h"
#include "settings/ControlIds.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {
bool batchRun = false;
std::string pendingScreenshot;
// -allTimesteps 1: -screenshot is a pattern, one frame per time step.
bool allTimesteps = false;
bool fitOnOpening = false;
}  // namespace

void beginBatchRun(const ViewerArguments& arguments) {
    batchRun = arguments.given.count("screenshot") != 0;
    watchStandardError();
}

bool isBatchRun() { return batchRun; }

void readFitOption() {
    if (!commandLine.has("fitToData")) return;
    double fit = 0.0;
    if (!parseNumber(commandLine.value("fitToData"), fit))
        std::cerr << "Ignoring -fitToData: '" << commandLine.value("fitToData") << "' is not a number" << std::endl;
    else fitOnOpening = fit != 0.0;
}

bool fitsOnOpening() { return fitOnOpening; }

void applyBatchOptions() {
    if (fitOnOpening && !sceneReady()) std::cerr << "Ignoring -fitToData: no dataset is open" << std::endl;
    fitOnOpening = false;  // datasets opened later keep the settings in force
    if (commandLine.has("options")) {
        if (sceneReady()) {
            loadOptionsFile(commandLine.value("options"));
            // As after picking the file in the panel: the controls show what was loaded.
            if (controlPanel) controlPanel->sync_live();
        } else {
            std::cerr << "Ignoring -options: no dataset is open" << std::endl;
            statusBoard.post(MessageKind::Error, "Ignoring -options: no dataset is open");
        }
    }
    std::vector<SettingNotice> notices;
    applyCommandLineSettings(commandLine, controlCallback, &notices);
    for (const SettingNotice& notice : notices)
        statusBoard.post(notice.refused ? MessageKind::Error : MessageKind::Warning, notice.text);
    // After the settings, so that a map centred on zero takes the colour range they chose.
    const auto maps = commandLine.repeated.find("colormap");
    if (maps != commandLine.repeated.end())
        for (const std::string& value : maps->second) applyColorMapOption(value);
    if (commandLine.has("screenshot")) pendingScreenshot = commandLine.value("screenshot");
    double all = 0;
    if (commandLine.has("allTimesteps") &&
        !(parseNumber(commandLine.value("allTimesteps"), all) && (all == 0 || all == 1)))
        std::cerr << "Ignoring -allTimesteps: '" << commandLine.value("allTimesteps") << "' is neither 0 nor 1"
                  << std::endl;
    allTimesteps = all == 1;
    if (allTimesteps && pendingScreenshot.empty())
        std::cerr << "Ignoring -allTimesteps: it needs -screenshot with a file name pattern" << std::endl;
}

void afterFrame() {
    if (pendingScreenshot.empty()) return;
    const std::string name = pendingScreenshot;
    pendingScreenshot.clear();
    const bool saved = allTimesteps ? exportAllTimesteps(name) : saveScreenshot(name, true);
    std::exit(saved && !standardErrorWritten() ? 0 : 1);
}
