#include "app/gl/Batch.h"

#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "app/gl/ControlCallback.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/Screenshot.h"
#include "app/gl/Window.h"
#include "panel/ControlPanel.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

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
            statusBoard.post(MessageKind::Error, "Ignoring -options: no dataset is open");
        }
    }
    std::vector<SettingNotice> notices;
    applyCommandLineSettings(commandLine, controlCallback, &notices);
    for (const SettingNotice& notice : notices)
        statusBoard.post(notice.refused ? MessageKind::Error : MessageKind::Warning, notice.text);
    if (commandLine.has("screenshot")) pendingScreenshot = commandLine.value("screenshot");
}

void afterFrame() {
    if (pendingScreenshot.empty()) return;
    const std::string name = pendingScreenshot;
    pendingScreenshot.clear();
    std::exit(saveScreenshot(name, true) ? 0 : 1);
}
