#include "app/gl/Placements.h"

#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/TimeSteps.h"
#include "app/gl/Window.h"
#include "settings/LiveVariables.h"
#include "streamlines/BackgroundPlacement.h"

#include <GL/freeglut.h>

#include <iostream>
#include <memory>
#include <vector>

namespace {

// How often the window looks after a running placement: its end, and its
// progress for the status line.
constexpr unsigned kPollMs = 40;
// The status line follows the progress every few looks.
constexpr int kPollsPerProgress = 6;

BackgroundPlacement worker;
std::unique_ptr<StreamlineSet> placed;
bool background = false;
std::vector<PlacementRequest> waiting;  // asked for in the current event
bool startScheduled = false;
bool polling = false;
int pollsSinceProgress = 0;

// The placement ended: its lines print and show.
void handOver() {
    BackgroundPlacement::Result result = worker.take();
    if (!result.set) return;
    // A step that waited for its lines shows now, with them; its console
    // lines come first, as when nothing waited.
    stepLinesPlaced();
    result.console->replay(std::cout, std::cerr);
    placed = std::move(result.set);
    streamlinesOutdated = false;
    reportPlacement();
    postRedisplay();
}

void poll(int) {
    polling = false;
    if (!worker.inHand()) return;
    if (worker.finished()) {
        handOver();
        return;
    }
    if (++pollsSinceProgress >= kPollsPerProgress) {
        pollsSinceProgress = 0;
        postRedisplay();
    }
    polling = true;
    glutTimerFunc(kPollMs, poll, 0);
}

void startWaiting(int) {
    startScheduled = false;
    if (waiting.empty() || !sceneReady()) return;
    worker.start(flowData.get(), coordXSlot, coordYSlot, std::move(waiting));
    waiting.clear();
    if (!polling) {
        polling = true;
        glutTimerFunc(kPollMs, poll, 0);
    }
    postRedisplay();
}

}  // namespace

void placeInBackground() { background = true; }

void requestPlacement(bool seeded) {
    if (!sceneReady()) return;
    const PlacementRequest request = placementRequest(*streamlineSet, seeded, seedPoints);
    if (!background) {
        worker.start(flowData.get(), coordXSlot, coordYSlot, {request});
        handOver();
        return;
    }
    // A new setting ends the placement of an earlier one; those of this
    // event start together once it is handled (an options file asks for several).
    worker.cancel();
    waiting.push_back(request);
    if (!startScheduled) {
        startScheduled = true;
        glutTimerFunc(0, startWaiting, 0);
    }
}

void stopPlacements() {
    worker.cancel();
    waiting.clear();
}

void discardPlacements() {
    stopPlacements();
    placed.reset();
}

bool placing() { return worker.inHand() || !waiting.empty(); }

std::string placementProgress() {
    if (!placing()) return std::string();
    const StreamlineSet::Progress progress = worker.progress();
    std::string text = "placing streamlines";
    if (progress.lines > 0)
        text += ": " + std::to_string(progress.lines) + (progress.lines == 1 ? " line, " : " lines, ") +
                std::to_string(static_cast<int>(progress.covered * 100.0)) + " % of the domain";
    return text;
}

StreamlineSet* placedStreamlines() { return placed.get(); }
