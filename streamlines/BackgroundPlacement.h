#pragma once

#include "common/ConsoleLog.h"
#include "settings/Modes.h"
#include "streamlines/StreamlineSet.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class FlowData;

// One placement as asked for: seeded or evenly spaced, with the settings it
// runs with.
struct PlacementRequest {
    bool seeded = false;
    int seedCount = 0;
    float dt = 0.0f;
    float dsep = 0.0f;
    float dtest = 0.0f;
    IntegrationMethod integration = IntegrationMethod::Euler;
    int unitSpeed = 0;
    double memoryBudget = 0.0;
};

// The placement `settings` would run now: seeded from `seedCount` points,
// or evenly spaced.
PlacementRequest placementRequest(const StreamlineSet& settings, bool seeded, int seedCount);

// Places streamlines on a thread of its own, one job at a time. A job is a
// list of requests placed one after the other, each into a new set of its
// own, so the caller's sets are never touched. The job's console lines are
// kept (ConsoleLog) and handed over with the last set when it ends; a
// cancelled job hands over nothing. The dataset is only read, and must not
// change while a job runs: stop it first.
class BackgroundPlacement {
public:
    BackgroundPlacement() = default;
    ~BackgroundPlacement();
    BackgroundPlacement(const BackgroundPlacement&) = delete;
    BackgroundPlacement& operator=(const BackgroundPlacement&) = delete;

    // Cancels the job in hand, if any, and starts this one.
    void start(FlowData* data, int xSlot, int ySlot, std::vector<PlacementRequest> requests);
    // Ends the job in hand at its next line and waits for its thread; what it
    // did is dropped.
    void cancel();

    // A job was started and not yet taken or cancelled.
    bool inHand() const { return inHand_; }
    // The job in hand has ended and take() returns at once.
    bool finished() const { return inHand_ && finished_.load(); }
    // How far the running placement has come (all zero before its first line).
    StreamlineSet::Progress progress() const;

    struct Result {
        std::unique_ptr<StreamlineSet> set;  // the last request's
        std::unique_ptr<ConsoleLog> console;
    };
    // Waits for the job in hand and takes what it placed and printed; empty
    // without a job.
    Result take();

private:
    // Waits until the job in hand ends.
    void wait();
    void run(FlowData* data, int xSlot, int ySlot, const std::vector<PlacementRequest>& requests);

    std::thread thread_;
    bool inHand_ = false;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    mutable std::mutex mutex_;  // guards progress_
    StreamlineSet::Progress progress_{0, 0, 0.0};
    Result result_;  // written by the thread, read after it is joined
};
