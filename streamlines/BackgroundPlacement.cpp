#include "streamlines/BackgroundPlacement.h"

PlacementRequest placementRequest(const StreamlineSet& settings, bool seeded, int seedCount) {
    PlacementRequest request;
    request.seeded = seeded;
    request.seedCount = seedCount;
    request.dt = settings.dt();
    request.dsep = settings.dsep();
    request.dtest = settings.dtest();
    request.integration = settings.integration();
    request.unitSpeed = settings.unitSpeed();
    request.memoryBudget = settings.memoryBudget();
    return request;
}

BackgroundPlacement::~BackgroundPlacement() { cancel(); }

void BackgroundPlacement::start(FlowData* data, int xSlot, int ySlot, std::vector<PlacementRequest> requests) {
    cancel();
    cancelled_ = false;
    finished_ = false;
    progress_ = StreamlineSet::Progress{0, 0, 0.0};
    inHand_ = true;
    thread_ = std::thread([this, data, xSlot, ySlot, requests = std::move(requests)] {
        run(data, xSlot, ySlot, requests);
        finished_ = true;
    });
}

void BackgroundPlacement::run(FlowData* data, int xSlot, int ySlot, const std::vector<PlacementRequest>& requests) {
    auto console = std::make_unique<ConsoleLog>();
    std::unique_ptr<StreamlineSet> set;
    for (const PlacementRequest& request : requests) {
        if (cancelled_) return;
        set = std::make_unique<StreamlineSet>(data, xSlot, ySlot, request.dt, request.dsep, request.dtest);
        set->setIntegration(request.integration);
        set->setUnitSpeed(request.unitSpeed);
        set->setMemoryBudget(request.memoryBudget);
        set->setConsole(console->out(), console->err());
        set->setProgressObserver([this](const StreamlineSet::Progress& progress) {
            std::lock_guard<std::mutex> lock(mutex_);
            progress_ = progress;
            return !cancelled_;
        });
        if (request.seeded) set->computeSeeded(request.seedCount);
        else set->computeEvenlySpaced();
    }
    if (cancelled_) return;
    set->setProgressObserver(nullptr);
    result_.set = std::move(set);
    result_.console = std::move(console);
}

void BackgroundPlacement::cancel() {
    cancelled_ = true;
    wait();
    result_ = Result();
    inHand_ = false;
}

void BackgroundPlacement::wait() {
    if (thread_.joinable()) thread_.join();
}

StreamlineSet::Progress BackgroundPlacement::progress() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return progress_;
}

BackgroundPlacement::Result BackgroundPlacement::take() {
    wait();
    Result taken = std::move(result_);
    result_ = Result();
    inHand_ = false;
    return taken;
}
