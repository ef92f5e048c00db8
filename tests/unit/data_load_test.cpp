// Reading datasets from grid and data files written by the tests.
#include "data/DatasetWriter.h"
#include "data/FlowData.h"
#include "support/RecordingUniforms.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

struct LoadResult {
    bool ok;
    std::string out;
    std::string err;
};

LoadResult captureLoad(FlowData& data, const std::string& path, bool swapBytes = false) {
    CaptureStdout();
    CaptureStderr();
    const bool ok = data.load(path, swapBytes);
    LoadResult result{ok, GetCapturedStdout(), GetCapturedStderr()};
    return result;
}

// Velocity (x, y, 0) with data channels c * 100 + x.
DatasetWriter sampleDataset(int channels = 2) {
    DatasetWriter writer({0.0f, 1.0f, 2.0f}, {0.0f, 0.5f});
    writer.dataChannels(channels)
        .velocity([](float x, float y) {
            return std::array<float, 3>{x, -y, 0.0f};
        })
        .data([](int c, float x, float) { return 100.0f * static_cast<float>(c) + x; });
    return writer;
}

class DataLoad : public testing::Test {
protected:
    // Writes a grid file of raw bytes and a matching-looking data file.
    std::string writeRaw(const std::string& gridBytes, const std::string& dataBytes = std::string(4096, '\0')) {
        DatasetWriter::writeFile(dir + "/raw.gri", gridBytes);
        DatasetWriter::writeFile(dir + "/raw.00000.dat", dataBytes);
        return dir + "/raw.gri";
    }

    // A load that must fail with exactly `error` on stderr and leave nothing.
    void expectRejected(const std::string& path, const std::string& error) {
        FlowData data(nullptr);
        const LoadResult r = captureLoad(data, path);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.err, error);
        EXPECT_FALSE(data.isLoaded());
        EXPECT_EQ(data.width(), 0);
        EXPECT_EQ(data.grid().nodeCount(), 0);
        for (int slot = 0; slot < FlowData::slotCount; ++slot) EXPECT_EQ(data.channel(slot), nullptr);
    }

    TempDir temp;
    const std::string dir = temp.path();
};

}  // namespace

TEST_F(DataLoad, PrintsEveryStepAndTellsTheShader) {
    const std::string gri = sampleDataset().write(dir + "/flow");
    RecordingUniforms uniforms;
    FlowData data(&uniforms);
    const LoadResult r = captureLoad(data, gri);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "- Loading grid file '" + dir +
                         "/flow.gri' ... \n"
                         "Dimensions: 3 x 2 x 1\n"
                         "X Boundaries: 0 ... 2\n"
                         "Y Boundaries: 0 ... 0.5\n"
                         "Channels: 2\n"
                         "Timesteps: 1\n"
                         "- Loading dat file '" +
                         dir +
                         "/flow.00000.dat' ... \n"
                         "Creating channel at 0 ... ok\n"
                         "Maximum value in channel: 2\nMinimum value in channel: 0\n"
                         "Creating channel at 1 ... ok\n"
                         "Maximum value in channel: -0\nMinimum value in channel: -0.5\n"
                         "Creating channel at 2 ... ok\n"
                         "Maximum value in channel: 0\nMinimum value in channel: 0\n"
                         "Creating channel at 3 ... ok\n"
                         "Maximum value in channel: 102\nMinimum value in channel: 100\n"
                         "Creating channel at 4 ... ok\n"
                         "Maximum value in channel: 202\nMinimum value in channel: 200\n"
                         "Debuging: Flipped for shader: 0\n");
    EXPECT_EQ(uniforms.calls, (std::vector<std::string>{"use", "int flipped 0", "unuse"}));
    EXPECT_TRUE(data.isLoaded());
    EXPECT_EQ(data.dataChannelCount(), 2);
    EXPECT_EQ(data.timeStepCount(), 1);
    EXPECT_EQ(data.width(), 3);
    EXPECT_EQ(data.height(), 2);
    EXPECT_EQ(data.channel(3)->valueAt(5), 102.0f);
    EXPECT_EQ(data.channel(1)->valueAt(4), -0.5f);
    EXPECT_EQ(data.channel(5), nullptr);
}

TEST_F(DataLoad, ChannelCountFollowsTheHeader) {
    for (int n : {0, 2, 10}) {
        const std::string gri = sampleDataset(n).write(dir + "/n" + std::to_string(n));
        FlowData data(nullptr);
        const LoadResult r = captureLoad(data, gri);
        ASSERT_TRUE(r.ok) << r.err;
        for (int slot = 0; slot < FlowData::slotCount; ++slot)
            EXPECT_EQ(data.channel(slot) != nullptr, slot < n + 3) << "n " << n << " slot " << slot;
        if (n == 10) {
            EXPECT_EQ(data.channel(12)->valueAt(1), 1001.0f);
        }
    }
}

TEST_F(DataLoad, BasePathDropsOnlyTheFileNameExtension) {
    std::filesystem::create_directory(dir + "/sets.v2");
    sampleDataset().write(dir + "/sets.v2/flow");
    for (const char* given : {"flow.gri", "flow.xyz", "flow"}) {
        FlowData data(nullptr);
        const LoadResult r = captureLoad(data, dir + "/sets.v2/" + given);
        EXPECT_TRUE(r.ok) << given << ": " << r.err;
        EXPECT_NE(r.out.find("'" + dir + "/sets.v2/flow.gri' ... \n"), std::string::npos) << given;
        EXPECT_NE(r.out.find("'" + dir + "/sets.v2/flow.00000.dat'"), std::string::npos) << given;
    }
}

TEST_F(DataLoad, FlippedStorageIsDetectedAndSamplesAlike) {
    auto writer = [](bool flipped) {
        DatasetWriter w({0.0f, 1.0f, 2.0f}, {0.0f, 2.0f, 3.0f});
        w.flipped(flipped).velocity([](float x, float y) { return std::array<float, 3>{x + 10 * y, x * y, 1.0f}; });
        return w;
    };
    writer(false).write(dir + "/normal");
    writer(true).write(dir + "/flipped");
    RecordingUniforms uniforms;
    FlowData normal(nullptr);
    FlowData flipped(&uniforms);
    ASSERT_TRUE(captureLoad(normal, dir + "/normal.gri").ok);
    const LoadResult r = captureLoad(flipped, dir + "/flipped.gri");
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_NE(r.out.find("Dimensions: 3 x 3 x 1\nFlipped Y and X dimensions.\nX Boundaries: 0 ... 2\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Debuging: Flipped for shader: 1\n"), std::string::npos);
    EXPECT_EQ(uniforms.calls, (std::vector<std::string>{"use", "int flipped 1", "unuse"}));
    for (float x : {0.0f, 0.4f, 1.7f, 2.0f})
        for (float y : {0.0f, 1.1f, 2.5f, 3.0f})
            for (int slot : {0, 1}) {
                const Vec3 p(x, y, 0.0f);
                EXPECT_FLOAT_EQ(normal.channel(slot)->sampleAt(p), flipped.channel(slot)->sampleAt(p));
            }
}

TEST_F(DataLoad, SwappedBytesReadTheSameValues) {
    DatasetWriter writer = sampleDataset();
    writer.write(dir + "/little");
    writer.bigEndian().write(dir + "/big");
    FlowData big(nullptr);
    FlowData little(nullptr);
    const LoadResult bigLoad = captureLoad(big, dir + "/big.gri", true);
    const LoadResult littleLoad = captureLoad(little, dir + "/little.gri", false);
    ASSERT_TRUE(bigLoad.ok);
    ASSERT_TRUE(littleLoad.ok);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(big.grid().node(k).x, little.grid().node(k).x);
        EXPECT_EQ(big.grid().node(k).y, little.grid().node(k).y);
        for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(big.channel(slot)->valueAt(k), little.channel(slot)->valueAt(k));
    }
}

TEST_F(DataLoad, FileErrorsUseTheirOwnMessages) {
    const DatasetWriter writer = sampleDataset();
    const std::string grid = writer.gridBytes();
    const std::string records = writer.dataBytes();

    expectRejected(dir + "/missing.gri", "+ Error loading grid file:" + dir + "/missing.gri\n\n");

    expectRejected(writeRaw(grid.substr(0, grid.size() - 1)), "+ Error reading grid file.\n\n");

    DatasetWriter::writeFile(dir + "/nodat.gri", grid);
    expectRejected(dir + "/nodat.gri", "+ Error loading dat file:" + dir + "/nodat.00000.dat\n\n");

    expectRejected(writeRaw(grid, records.substr(0, records.size() - 4)),
                   "+ Error reading dat file:" + dir + "/raw.00000.dat\n\n");

    // Bytes after the last record are ignored.
    FlowData longer(nullptr);
    EXPECT_TRUE(captureLoad(longer, writeRaw(grid + "tail", records + "more bytes")).ok);
}

TEST_F(DataLoad, ZDimensionOtherThanOneFailsAfterTheDimensionsLine) {
    FlowData data(nullptr);
    const LoadResult r = captureLoad(data, writeRaw(DatasetHeader{10, 10, 2, 0, 1}.text() + std::string(2400, '\0')));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, "- Loading grid file '" + dir + "/raw.gri' ... \nDimensions: 10 x 10 x 2\n");
    EXPECT_EQ(r.err, "Invalid Z dimension value.\n");
    EXPECT_EQ(data.channel(0), nullptr);
}

TEST_F(DataLoad, MalformedHeadersAreRejectedByName) {
    const std::string nodes(12 * 4, '\0');
    const std::string prefix = "+ Error in grid file header:" + dir + "/raw.gri: ";

    DatasetHeader wrongMagic{2, 2, 1, 0, 1};
    wrongMagic.magic = "SN4DX";
    expectRejected(writeRaw(wrongMagic.text() + nodes), prefix + "header does not begin with \"SN4DB\".\n\n");

    DatasetHeader fiveNumbers{2, 2, 1, 0, 1};
    fiveNumbers.numbers = 5;
    expectRejected(writeRaw(fiveNumbers.text() + nodes), prefix + "header has 5 of its 6 numbers.\n\n");

    expectRejected(writeRaw(DatasetHeader{2, 99999999999LL, 1, 0, 1}.text() + nodes),
                   prefix + "header number 2 is out of range.\n\n");

    expectRejected(writeRaw("SN4DB 2 2 1"), prefix + "file is shorter than its 40-byte header.\n\n");
}

TEST_F(DataLoad, HeaderIsNeverReadPastItsFortyBytes) {
    // The fifth number ends exactly at byte 40 and the node bytes after it
    // are ASCII digits: a parser running past the block would read a sixth
    // number (or a longer fifth) out of them.
    std::string header = "SN4DB 2 2 1 0";
    header.resize(39, ' ');
    header += "4";
    const std::string digitNodes(12 * 4, '8');
    expectRejected(writeRaw(header + digitNodes),
                   "+ Error in grid file header:" + dir + "/raw.gri: header has 5 of its 6 numbers.\n\n");

    // Six numbers filling all 40 bytes, no terminator and no padding.
    std::string full = "SN4DB 2 2 1 0 7 ";
    full += std::string(40 - full.size(), '1');
    ASSERT_EQ(full.size(), 40u);
    FlowData data(nullptr);
    const LoadResult r = captureLoad(data, writeRaw(full + std::string(12 * 4, '\0'), std::string(4 * 12, '\0')));
    EXPECT_TRUE(r.ok) << r.err;
    EXPECT_NE(r.out.find("Channels: 0\nTimesteps: 7\n"), std::string::npos);
}

TEST_F(DataLoad, UnusableCountsFailBeforeAnyAllocation) {
    const std::string prefix = "+ Error in grid file header:" + dir + "/raw.gri: ";
    expectRejected(writeRaw(DatasetHeader{1, 5, 1, 0, 1}.text() + std::string(60, '\0')),
                   prefix + "needs at least 2 nodes along x and y, has 1 x 5.\n\n");
    expectRejected(writeRaw(DatasetHeader{5, 0, 1, 0, 1}.text()),
                   prefix + "needs at least 2 nodes along x and y, has 5 x 0.\n\n");
    expectRejected(writeRaw(DatasetHeader{2000000000, 2000000000, 1, 0, 1}.text()),
                   prefix + "node count 2000000000 x 2000000000 is too large.\n\n");
    expectRejected(writeRaw(DatasetHeader{4, 4, 1, 11, 1}.text()),
                   prefix + "11 data channels, at most 10 are supported.\n\n");
    expectRejected(writeRaw(DatasetHeader{4, 4, 1, -1, 1}.text()),
                   prefix + "-1 data channels, at most 10 are supported.\n\n");
    // 1.6e9 nodes would be 19 GB of records: the short file is noticed first.
    expectRejected(writeRaw(DatasetHeader{40000, 40000, 1, 0, 1}.text() + std::string(1200, '\0')),
                   "+ Error reading grid file.\n\n");
    // The same for a data file whose header promises far more than it holds.
    DatasetWriter wide(DatasetWriter::evenlySpaced(0, 1, 30000), DatasetWriter::evenlySpaced(0, 1, 2));
    expectRejected(writeRaw(wide.dataChannels(10).gridBytes(), std::string(64, '\0')),
                   "+ Error reading dat file:" + dir + "/raw.00000.dat\n\n");
}

TEST_F(DataLoad, SecondLoadIntoTheSameDatasetIsRefused) {
    const std::string gri = sampleDataset().write(dir + "/flow");
    FlowData data(nullptr);
    ASSERT_TRUE(captureLoad(data, gri).ok);
    const LoadResult again = captureLoad(data, gri);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.err, "+ Error loading grid file:" + gri + ": the dataset already holds channels.\n\n");
    EXPECT_TRUE(data.isLoaded());
    EXPECT_NE(data.channel(4), nullptr);
}
