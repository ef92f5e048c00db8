#pragma once

#include "settings/Modes.h"
#include "streamlines/DomainBox.h"
#include "streamlines/PointStore.h"
#include "streamlines/ProximityIndex.h"
#include "streamlines/StreamPoint.h"
#include "streamlines/Streamline.h"

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class Channel;
class ColorRGBA;
class FlowData;

// A registered point as the distance field holds it: a copy of its position
// (proximity tests read the copies in a row) and the point itself.
struct FieldEntry {
    float x;
    float y;
    const StreamPoint* point;
};

// All streamlines of the open dataset with their settings: integration
// (Euler or midpoint), seeded placement, evenly spaced placement through a
// distance field with delayed registration, and the drawing modes.
class StreamlineSet {
public:
    // Each direction of a seeded line adds at most this many points.
    static constexpr int maxFreeSteps = 10000;
    // Each pass of an evenly spaced line ends (step_cap) once it would grow
    // longer than this many half-perimeters (width + height) of the domain
    // box, so a line that never meets a stop (a closed orbit with a tiny
    // dtest) still ends, while a small dt does not cut lines short.
    static constexpr double lineLengthInHalfPerimeters = 10.0;
    // What a placed point costs, everything included (its record, its place
    // in a line and in the distance field, the field's tree), rounded up:
    // the memory budget is checked against points times this.
    static constexpr double bytesPerPoint = 48.0;
    // When the centre of the box gives no first line, further seeds are
    // tried on a lattice dividing each side into this many parts.
    static constexpr int latticeDivisions = 16;
    // Wider cells keep every point within dsep in the 3 x 3 block, so this
    // cap changes no result; it bounds the field's memory for a tiny dsep.
    static constexpr int maxFieldCellsPerAxis = 1024;

    StreamlineSet(FlowData* flowData, int xSlot, int ySlot, float dt, float dsep, float dtest);
    ~StreamlineSet();
    StreamlineSet(const StreamlineSet&) = delete;
    StreamlineSet& operator=(const StreamlineSet&) = delete;

    // Settings. None of them recomputes the streamlines.
    void setIntegration(IntegrationMethod method) { integration_ = method; }
    // 1: every step moves dt along the velocity's direction (v / |v|), so dt
    // is a step length in world units and the point caches delay the
    // registration by the same distance whatever the local speed. 0 (the
    // start value): the step moves dt * v.
    void setUnitSpeed(int unitSpeed) { unitSpeed_ = unitSpeed != 0 ? 1 : 0; }
    // dt and dsep both size the point caches, so each re-sizes them: the
    // placement depends on the values in force, not on the order of edits.
    void setStepSize(float dt);
    void setTestDistance(float dtest);
    void setSeparation(float dsep);  // also rebuilds the distance field
    void setColor(float r, float g, float b);
    ColorRGBA* color() const { return color_.get(); }
    void setTextureFunction(int function) { textureFunction_ = function; }
    void setTexturePeriod(int period) { texturePeriod_ = period; }
    // An evenly spaced placement does not start when its estimate exceeds
    // this many bytes, and stops when its points would outgrow it, saying
    // so either way. Start value: a quarter of physical memory.
    void setMemoryBudget(double bytes) { memoryBudget_ = bytes; }
    double memoryBudget() const { return memoryBudget_; }
    // Whether the last evenly spaced placement was refused or stopped by it.
    bool limitedByBudget() const { return limitedByBudget_; }
    // What an evenly spaced placement has done so far.
    struct Progress {
        std::size_t points;  // traced into lines
        std::size_t lines;
        double covered;  // share of the distance field's cells holding a point, 0 to 1
    };
    // Called between lines with the progress so far; returning false cancels
    // the placement, which keeps the lines it has, says so and reports as
    // usual. Called often: it must be cheap.
    using ProgressObserver = std::function<bool(const Progress&)>;
    void setProgressObserver(ProgressObserver observer) { progressObserver_ = std::move(observer); }
    bool cancelled() const { return cancelled_; }
    // Where placements print their lines: standard output and error unless
    // told otherwise (a placement off the main thread writes to a buffer).
    void setConsole(std::ostream& out, std::ostream& err) {
        out_ = &out;
        err_ = &err;
    }

    // Why the last evenly spaced placement placed no line; empty when it
    // placed some (or was refused, which says so itself).
    const std::string& emptyReason() const { return emptyReason_; }
    // What an evenly spaced placement with the current settings is expected
    // to place and to need.
    struct Estimate {
        double points;
        double bytes;
    };
    Estimate estimateEvenlySpaced() const;
    // What the placement's storage holds now, in bytes.
    double memoryInUse() const;

    // Integration. A returned point is new; hand it to a line or discardPoint.
    StreamPoint* stepForward(StreamPoint* p);
    StreamPoint* stepBackward(StreamPoint* p);
    StreamPoint* eulerStep(StreamPoint* p, int direction);
    StreamPoint* midpointStep(StreamPoint* p, int direction);
    bool isOutsideDomain(const StreamPoint* p) const;
    // Why the last step that returned null did so: ZeroVelocity, NonFinite
    // or MidpointOutside.
    TerminationReason lastStepFailure() const { return stepFailure_; }
    DomainBox domainBox() const;  // read from the coordinate channels
    // The longest pass of an evenly spaced line, in world units.
    double maxLineLength() const;

    // Seeded placement ("Normal").
    void computeSeeded(int seedCount);
    void traceFree(StreamPoint* seed);

    // Evenly spaced placement.
    void computeEvenlySpaced();
    bool traceEvenly(StreamPoint* seed);
    void buildDistanceField();
    void allocateCaches();
    void clearDistanceField();
    void registerPoint(StreamPoint* p);
    void registerPoints(StreamPoint** array, int count);
    bool isSeedRejected(const StreamPoint* p) const;
    bool isTooClose(const StreamPoint* p) const;
    float nearestOtherDistance(const StreamPoint* p) const;
    void printStatistics() const;
    void checkDistanceField() const;

    // Why the last placement placed nothing, as printed ("Streamlines not
    // placed: ..."); empty when it ran.
    const std::string& refusal() const { return refusal_; }
    // The lines the last placement printed about values it clamped or a
    // limit it stopped at, in order.
    const std::vector<std::string>& warnings() const { return warnings_; }

    // A new point at (x, y) stamped with streamlineNumber and stepCounter,
    // owned by the set until the next placement.
    StreamPoint* createPoint(float x, float y);
    // Gives back a point nobody refers to. Only the newest point is freed at
    // once; any other waits for the next placement.
    void discardPoint(StreamPoint* p);

    // nearestOtherDistance of every point of every line, computed once per
    // placement (tapered bands are drawn from it).
    const std::vector<std::vector<float>>& nearestOtherDistances();
    // The normalised value of `channel` at every point of every line (the
    // point held to the domain box; a missing value stays not finite),
    // computed once per placement and channel, as the distances are.
    const std::vector<std::vector<float>>& valuesAlongLines(const Channel* channel);

    const std::vector<std::unique_ptr<Streamline>>& streamlines() const { return streamlines_; }
    // Names the placement that made the lines: no two placements of the
    // process share it (0 before the first), so drawn geometry can tell
    // whether it is still that of these lines.
    std::uint64_t placement() const { return placement_; }
    FlowData* flowData() const { return flowData_; }
    int xSlot() const { return xSlot_; }
    int ySlot() const { return ySlot_; }
    float dt() const { return dt_; }
    float dtest() const { return dtest_; }
    float dtestSquared() const { return dtestSquared_; }
    float dsep() const { return dsep_; }
    float dsepSquared() const { return dsepSquared_; }
    float seedLimitSquared() const { return seedLimitSquared_; }
    int cacheCapacity() const { return cacheCapacity_; }
    IntegrationMethod integration() const { return integration_; }
    int unitSpeed() const { return unitSpeed_; }
    int textureFunction() const { return textureFunction_; }
    int texturePeriod() const { return texturePeriod_; }
    int streamlineNumber() const { return streamlineNumber_; }
    int stepCounter() const { return stepCounter_; }
    int theoreticalPoints() const { return theoreticalPoints_; }
    int theoreticalRegistered() const { return theoreticalRegistered_; }
    int cachedPoints() const { return cachedPoints_; }
    int fieldCellsX() const { return fieldCellsX_; }
    int fieldCellsY() const { return fieldCellsY_; }
    float fieldCellWidth() const { return fieldCellWidth_; }
    float fieldCellHeight() const { return fieldCellHeight_; }
    // The points registered in cell (i, j), in the order of registration.
    std::vector<FieldEntry> cell(int i, int j) const;
    int registeredCount() const { return static_cast<int>(field_.size()); }
    // Cell index of a point along x or y; values outside 0 .. count - 1 mean
    // the point lies off the field.
    int cellIndexX(float x) const;
    int cellIndexY(float y) const;

private:
    std::size_t cellSlot(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(fieldCellsY_) + static_cast<std::size_t>(j);
    }
    bool sampleVelocity(float x, float y, int direction, float& vx, float& vy) const;

public:
    // The velocity at (x, y), quietly; false off the grid or without velocity.
    bool velocityAt(float x, float y, float& vx, float& vy) const;

private:
    struct StepVelocity {
        double x;
        double y;
    };
    StepVelocity stepVelocity(float vx, float vy) const;
    StreamPoint* failStep(TerminationReason reason);
    class CacheTurns;
    // A registered point that answered a proximity test: its entry in the
    // field (-1 for none) and the cell it was registered in.
    struct Witness {
        std::int32_t entry = -1;
        int i = 0;
        int j = 0;
    };
    bool isNear(float x, float y, int i, int j, double limit, double reach, Witness& witness) const;
    PointStore::Id idOf(StreamPoint* p);
    void registerId(PointStore::Id id);
    void updateLimits();
    void startPlacement();
    bool placementRefused(bool evenlySpaced);
    bool refusedByBudget();
    // Refuses the placement: one line on standard error, kept as the refusal.
    void refuse(const std::string& why);
    void reportBudgetUsedUp();
    double meanSpeed() const;
    std::string budgetAdvice(double pointBytes) const;
    void reportClamping();
    // Prints a line on standard output and keeps it among the warnings.
    void warn(const std::string& line);
    void scanForSeeds();
    bool goOn();
    void seedFromLattice(std::array<int, terminationReasonCount>& failures);
    void explainEmptyPlacement(const std::array<int, terminationReasonCount>& failures);

    std::vector<std::unique_ptr<Streamline>> streamlines_;
    FlowData* flowData_;
    float dt_;
    float dtest_;
    float dtestSquared_ = 0.0f;
    float dsep_;
    float dsepSquared_ = 0.0f;
    // Seeds are built exactly dsep from their generating point; rounding
    // may put them a hair closer, so they are tested against 0.999 dsep.
    float seedLimitSquared_ = 0.0f;
    // The roots of dtest^2 and of the seeds' limit, in double: how far a
    // proximity test reaches into neighbouring cells.
    double testReach_ = 0.0;
    double seedReach_ = 0.0;
    // Rounding margins of the cell bounds for the neighbourhood test.
    double marginX_ = 0.0;
    double marginY_ = 0.0;
    int cacheCapacity_ = 1;
    int xSlot_;
    int ySlot_;
    int streamlineNumber_ = 0;
    int texturePeriod_ = 160;
    int stepCounter_ = 0;
    int theoreticalPoints_ = 0;
    int theoreticalRegistered_ = 0;
    int cachedPoints_ = 0;
    // The box as the distance field was built for it; the node coordinates
    // do not change while a dataset is open, so the hot paths read this copy.
    DomainBox box_;
    ProximityIndex field_;
    int fieldCellsX_ = 1;
    int fieldCellsY_ = 1;
    float fieldCellWidth_ = 0.0f;
    float fieldCellHeight_ = 0.0f;
    float inverseCellWidth_ = 0.0f;  // 1 / the cell size, for a first guess of cell indices
    float inverseCellHeight_ = 0.0f;
    std::unique_ptr<ColorRGBA> color_;
    // The caches of the line being traced. They fill as the line grows, up
    // to cacheCapacity each, so a huge capacity costs nothing up front.
    std::vector<PointStore::Id> cacheA_;
    std::vector<PointStore::Id> cacheB_;
    std::vector<PointStore::Id> firstCache_;
    IntegrationMethod integration_ = IntegrationMethod::Euler;
    int unitSpeed_ = 0;
    TerminationReason stepFailure_ = TerminationReason::None;
    int textureFunction_ = 0;
    std::string refusal_;
    std::vector<std::string> warnings_;
    double memoryBudget_;
    bool limitedByBudget_ = false;
    // Points a placement may hold under the budget, and whether a line
    // reached that many (the placement then stops after it).
    std::size_t pointCeiling_ = static_cast<std::size_t>(-1);
    bool budgetUsedUp_ = false;
    std::string emptyReason_;
    std::uint64_t placement_ = 0;
    ProgressObserver progressObserver_;
    std::ostream* out_;
    std::ostream* err_;
    bool cancelled_ = false;
    TerminationReason lastDiscardedEnd_ = TerminationReason::None;  // of the last line traceEvenly discarded
    // The registered point that rejected the last seed candidate; a new
    // placement or distance field forgets it.
    mutable Witness seedWitness_;
    mutable double meanSpeed_ = -1.0;  // of the dataset's nodes; -1 until needed

    // Every point of the current placement; cleared when the next begins.
    // Points up to highestRegistered_ may be in the distance field and are
    // never given back before that.
    PointStore points_;
    long long highestRegistered_ = -1;
    std::vector<std::vector<float>> distances_;
    bool distancesValid_ = false;
    // Rebuilt whenever the distances are, that is after every change of the lines.
    std::vector<std::vector<float>> values_;
    const Channel* valuesChannel_ = nullptr;
    bool valuesValid_ = false;
};
