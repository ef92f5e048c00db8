// Time steps of a dataset: any step read at load or later in place, the
// errors of a missing or short step, ranges over a series, channel names.
#include "data/ChannelNames.h"
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "data/SeriesRange.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Step s: velocity (x + s, (s + 1) * y, 0), channel 1 = 10 s - x, channel 2 = y * y.
// The single-step twin of step s writes the same records as its step 0.
DatasetWriter series(int steps, int fixedStep = -1) {
    DatasetWriter writer({0.0f, 0.5f, 1.5f, 3.0f}, {-1.0f, 0.0f, 2.0f});
    writer.dataChannels(2).timeSteps(steps).records([fixedStep](const DatasetWriter::Node& n, float* r) {
        const float s = static_cast<float>(fixedStep >= 0 ? fixedStep : n.step);
        r[0] = n.x + s;
        r[1] = (s + 1.0f) * n.y;
        r[3] = 10.0f * s - n.x;
        r[4] = n.y * n.y;
    });
    return writer;
}

std::vector<float> valuesOf(const FlowData& data, int slot) {
    const Channel* c = data.channel(slot);
    return c ? std::vector<float>(c->values(), c->values() + c->valueCount()) : std::vector<float>();
}

class TimeSteps : public testing::Test {
protected:
    TempDir temp;
    const std::string dir = temp.path();
};

}  // namespace

TEST_F(TimeSteps, StepKOfASeriesIsTheDatasetOfThatStepAlone) {
    const std::string gri = series(4).write(dir + "/s");
    const std::string twin = series(1, 2).write(dir + "/twin");
    ConsoleCapture console;
    FlowData atLoad(nullptr), later(nullptr), alone(nullptr);
    ASSERT_TRUE(atLoad.load(gri, false, 2));
    ASSERT_TRUE(later.load(gri, false));
    ASSERT_TRUE(alone.load(twin, false));
    EXPECT_EQ(later.currentTimeStep(), 0);
    EXPECT_EQ(later.stepCount(), 4);

    const Channel* before = later.channel(1);
    console.clear();
    ASSERT_TRUE(later.loadTimeStep(2));
    EXPECT_EQ(console.out(), "- Loading dat file '" + dir +
                                 "/s.00002.dat' ... \n"
                                 "Maximum value in channel: 5\nMinimum value in channel: 2\n"
                                 "Maximum value in channel: 6\nMinimum value in channel: -3\n"
                                 "Maximum value in channel: 0\nMinimum value in channel: 0\n"
                                 "Maximum value in channel: 20\nMinimum value in channel: 17\n"
                                 "Maximum value in channel: 4\nMinimum value in channel: 0\n");
    EXPECT_EQ(later.channel(1), before);  // the slot keeps its channel, the values change
    EXPECT_EQ(later.currentTimeStep(), 2);
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(valuesOf(later, slot), valuesOf(alone, slot));
        EXPECT_EQ(valuesOf(atLoad, slot), valuesOf(alone, slot));
        EXPECT_EQ(later.channel(slot)->minValue(), alone.channel(slot)->minValue());
        EXPECT_EQ(later.channel(slot)->maxValue(), alone.channel(slot)->maxValue());
    }
}

TEST_F(TimeSteps, AStepThatCannotBeReadLeavesTheShownStep) {
    const DatasetWriter writer = series(4);
    const std::string gri = writer.write(dir + "/s");
    std::filesystem::remove(DatasetWriter::dataFileName(dir + "/s", 1));
    std::string shortStep = writer.dataBytes(2);
    shortStep.resize(shortStep.size() - 4);
    DatasetWriter::writeFile(DatasetWriter::dataFileName(dir + "/s", 2), shortStep);

    ConsoleCapture console;
    FlowData data(nullptr);
    ASSERT_TRUE(data.load(gri, false));
    const std::vector<float> step0 = valuesOf(data, 0);
    const float max0 = data.channel(0)->maxValue();
    struct Case {
        int step;
        std::string err;
    };
    for (const Case& c : {Case{1, "+ Error loading dat file:" + dir + "/s.00001.dat\n\n"},
                          Case{2, "+ Error reading dat file:" + dir + "/s.00002.dat\n\n"},
                          Case{4, "+ Error loading time step 4: the dataset has time steps 0 to 3.\n\n"},
                          Case{-1, "+ Error loading time step -1: the dataset has time steps 0 to 3.\n\n"}}) {
        SCOPED_TRACE(c.step);
        console.clear();
        EXPECT_FALSE(data.loadTimeStep(c.step));
        EXPECT_EQ(console.err(), c.err);
        EXPECT_EQ(data.currentTimeStep(), 0);
        EXPECT_EQ(valuesOf(data, 0), step0);
        EXPECT_EQ(data.channel(0)->maxValue(), max0);
    }
    EXPECT_TRUE(data.loadTimeStep(3));
    // A load at a step the header does not count fails like a missing grid: nothing is kept.
    FlowData beyond(nullptr);
    EXPECT_FALSE(beyond.load(gri, false, 9));
    EXPECT_FALSE(beyond.isLoaded());
    EXPECT_EQ(beyond.dataChannelCount(), 0);
    EXPECT_EQ(beyond.channel(0), nullptr);
}

TEST_F(TimeSteps, SeriesRangesSpanEveryStepAndTheStepRangesComeBack) {
    const std::string gri = series(3).write(dir + "/s");
    ConsoleCapture console;
    FlowData data(nullptr);
    ASSERT_TRUE(data.load(gri, false, 1));
    const int magnitude = data.createMagnitudeChannel(0, 1, 2);
    console.clear();
    const SeriesRanges ranges = computeSeriesRanges(data);
    EXPECT_EQ(console.out(), "- Colour ranges over 3 time steps ...\n");
    EXPECT_EQ(ranges.stepsRead, 3);
    // x + s over steps 0..2: 0 .. 5; (s + 1) y: -3 .. 6; 10 s - x: -3 .. 20; y^2: 0 .. 4.
    EXPECT_EQ(ranges.min, (std::vector<float>{0, -3, 0, -3, 0, 0}));
    EXPECT_EQ(ranges.max, (std::vector<float>{5, 6, 0, 20, 4, FlowData::magnitude(5, 6, 0)}));
    EXPECT_EQ(data.currentTimeStep(), 1);  // the scan leaves the slots alone
    EXPECT_EQ(data.channel(3)->minValue(), 7.0f);

    applySeriesRanges(data, ranges, magnitude);
    EXPECT_EQ(data.channel(3)->minValue(), -3.0f);
    EXPECT_EQ(data.channel(3)->maxValue(), 20.0f);
    EXPECT_FLOAT_EQ(data.channel(3)->normalize(8.5f), 0.5f);
    EXPECT_EQ(data.channel(magnitude)->maxValue(), FlowData::magnitude(5, 6, 0));
    applyStepRanges(data, magnitude);
    EXPECT_EQ(data.channel(3)->minValue(), 7.0f);
    EXPECT_EQ(data.channel(3)->maxValue(), 10.0f);
    EXPECT_EQ(data.channel(magnitude)->maxValue(), FlowData::magnitude(4, 4, 0));
}

TEST_F(TimeSteps, ChannelNamesComeFromTheSideFileWhenItFitsTheChannels) {
    const std::string gri = series(1).write(dir + "/s");
    ConsoleCapture console;
    {
        FlowData data(nullptr);
        ASSERT_TRUE(data.load(gri, false));
        EXPECT_TRUE(data.channelNames().empty());
    }
    ASSERT_TRUE(writeChannelNames(dir + "/s.names", {"sea surface temperature", "#salt\nline"}));
    {
        FlowData data(nullptr);
        ASSERT_TRUE(data.load(gri, false));
        EXPECT_EQ(data.channelNames(), (std::vector<std::string>{"sea surface temperature", "_#salt line"}));
    }
    std::ofstream(dir + "/s.names") << "only\n";
    console.clear();
    FlowData data(nullptr);
    ASSERT_TRUE(data.load(gri, false));
    EXPECT_TRUE(data.channelNames().empty());
    EXPECT_EQ(console.err(), "Ignoring " + dir + "/s.names: 1 names for 2 data channels\n");
}
