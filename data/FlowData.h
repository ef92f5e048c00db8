#pragma once

#include "data/Channel.h"
#include "data/FieldQuad.h"
#include "data/Grid.h"
#include "data/StepSource.h"
#include "data/TextureBuffers.h"

#include <array>
#include <atomic>
#include <cmath>
#include <future>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class UniformTarget;

// The loaded dataset: its grid, 16 channel slots and the data textures.
// Slots 0-2 hold velocity x, y, z, slots 3 to 2 + n the file's data channels;
// the opener adds node x, node y and velocity magnitude after them.
class FlowData {
public:
    static constexpr int slotCount = 16;
    // Data channels a file may have: the opener needs three slots after them.
    static constexpr int maxDataChannels = slotCount - 6;

    // `uniforms` receives "flipped" and the texture units; may be null.
    explicit FlowData(UniformTarget* uniforms);
    ~FlowData();
    FlowData(const FlowData&) = delete;
    FlowData& operator=(const FlowData&) = delete;

    // Reads <base>.gri and <base>.00000.dat, where base is `path` without the
    // extension of its file name. True when both were read and slots 0 to
    // 2 + n were filled. On false the dataset holds no grid and no channels.
    // A later `step` reads that step's data file instead of step 0's.
    // Data channel names come from <base>.names when it exists.
    bool load(std::string path, bool swapBytes, int step = 0);

    // The same for a dataset read by another file format: takes its grid,
    // counts and channel names, then reads time step `step` from `source`.
    bool loadFrom(Grid grid, int channelCount, int timeStepCount, std::vector<std::string> channelNames,
                  std::unique_ptr<StepSource> source, int step);

    // Time steps. The grid stays; only slots 0 to 2 + n change, in place, so
    // pointers to their channels stay valid (derived channels are the
    // caller's to update). False, with one message on standard error, when
    // the step is out of range or cannot be read; the dataset is then as it
    // was.
    bool loadTimeStep(int step);
    // Reads step `step` into fresh channels of this grid (velocity x, y, z,
    // then the data channels) without touching the slots.
    bool readTimeStep(int step, std::vector<std::unique_ptr<Channel>>& channels, bool verbose);
    // Steps that can be shown: the header's count, at least 1 (step 0 is
    // read whatever the header says).
    int stepCount() const { return timeStepCount_ > 1 ? timeStepCount_ : 1; }
    int currentTimeStep() const { return currentStep_; }
    // Names of data channels 1 to n when the dataset has them, else empty.
    const std::vector<std::string>& channelNames() const { return channelNames_; }

    // Lowest free slot with a new empty channel, or -1 when all are in use.
    int createChannel();
    void deleteChannel(int slot);
    // Null for a free slot or a slot number outside 0 to 15.
    Channel* channel(int slot);
    const Channel* channel(int slot) const;

    // Node coordinates (0 = x, 1 = y, 2 = z) as a channel; returns its slot.
    int createCoordinateChannel(int component);
    // Length of the vectors of slots a, b (and c unless c < 0); returns its slot.
    int createMagnitudeChannel(int slotA, int slotB, int slotC);
    // The magnitude of one node's velocity as the magnitude channel holds it:
    // components squared and summed in double, rounded once, square root in float.
    static float magnitude(float x, float y, float z) {
        const double s = static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z;
        return std::sqrt(static_cast<float>(s));
    }
    // The same into an existing channel, its extremes taken anew (after a
    // time step change).
    void updateMagnitudeChannel(int slot, int slotA, int slotB, int slotC);

    // maxValue / minValue of velocity slots 0 and 1 (0 for a missing slot).
    std::array<float, 2> maxVelocity() const;
    std::array<float, 2> minVelocity() const;

    int dataChannelCount() const { return dataChannelCount_; }
    int timeStepCount() const { return timeStepCount_; }
    bool isLoaded() const { return loaded_; }
    // Grid::width / Grid::height once loaded, else 0.
    int width() const { return loaded_ ? grid_.width() : 0; }
    int height() const { return loaded_ ? grid_.height() : 0; }
    // The field quad's proportions, from the box the nodes span: an 8 x 4
    // box is drawn 2:1 whatever its node counts. Invalid before a load.
    QuadSize quadSize() const { return loaded_ ? fieldQuadSize(grid_.extent().x, grid_.extent().y) : QuadSize{}; }
    const Grid& grid() const { return grid_; }
    UniformTarget* uniformTarget() const { return uniforms_; }
    // For a dataset read before its shader existed: `uniforms` takes the
    // place of the constructor's and gets "flipped" as a load gives it.
    void setUniformTarget(UniformTarget* uniforms);

    int textureResolution() const { return textureResolution_; }
    void setTextureResolution(int resolution) { textureResolution_ = resolution; }
    // Texel size of the data area of every data texture of this dataset.
    TextureSize textureDataSize() const;

    // GL half, in data/gl/FlowDataTextures.cpp.
    void createVelocityTexture(int magnitudeSlot);
    void createDataTexture1();
    void createDataTexture2();
    void bindDataTexture1();
    void bindDataTexture2();
    // The texture of data channel k (1 to dataChannelCount()), built on unit 2;
    // bind makes it the one the field is coloured from. Channels 1 and 2 keep
    // their own console lines.
    void createDataTexture(int channel);
    // Binds data channel k's texture, building it first when it is missing
    // (a time step change keeps only the texture on show up to date).
    void bindDataTexture(int channel);
    void deleteDataTextures();
    // Deletes the textures that exist; the destructor reaches it through the
    // releaser the GL half installs when it creates a texture.
    void deleteTextures();

    // Draws the textured field quad through the uniform target's program;
    // defined by the field view (render/gl).
    void drawFieldQuad();

    unsigned int velocityTexture() const { return velocityTexture_; }
    unsigned int dataTexture1() const { return dataTexture(1); }
    unsigned int dataTexture2() const { return dataTexture(2); }
    // 0 for a channel without a texture or outside 1 to maxDataChannels.
    unsigned int dataTexture(int channel) const;

private:
    // The steps of load: the grid file, the records of one data file split
    // into one channel per value (velocity x, y, z, then the data channels),
    // and the channels entering their slots.
    // Opens the grid file and reads and checks its header; the file is left
    // at the node records.
    static bool readHeader(const std::string& gridPath, std::ifstream& gridFile, GridHeader::Bytes& headerBytes,
                           GridHeader& header);
    bool readRecords(const std::string& datPath, int stride, bool swapBytes,
                     std::vector<std::unique_ptr<Channel>>& channels, bool verbose) const;
    // The records of a data file as channels of `grid` (only pointed at, so
    // it may be read meanwhile), without a word on the console: a load reads
    // them on a thread of their own.
    struct RecordRead {
        enum Outcome { Read, CannotOpen, Short } outcome = Short;
        std::vector<std::unique_ptr<Channel>> channels;
    };
    static RecordRead readRecordsQuietly(const std::string& datPath, const Grid* grid, std::size_t nodeCount,
                                         int stride, bool swapBytes, const std::atomic<bool>& cancelled);
    // Hands the channels over, or reports on standard error why there are none.
    static bool reportRecords(const std::string& datPath, RecordRead read,
                              std::vector<std::unique_ptr<Channel>>& channels);
    void adoptChannels(std::vector<std::unique_ptr<Channel>> channels);
    bool stepInRange(int step) const;
    bool canLoad(const std::string& what) const;
    // `records`: the step's records when load has read them already.
    bool finishLoad(int step, std::future<RecordRead>* records = nullptr);
    // Sets the "flipped" uniform of a loaded dataset, when there is a target.
    void applyFlipped() const;

    // createChannel; `zeroed` false for a channel its caller fills in full.
    int createChannel(bool zeroed);
    void deleteAllChannels();

    bool loaded_ = false;
    int timeStepCount_ = 0;
    int currentStep_ = 0;
    // Where the steps come from: data files beside the grid file (base path
    // and byte order), or another format's source.
    std::string base_;
    bool swapBytes_ = false;
    std::unique_ptr<StepSource> source_;
    std::vector<std::string> channelNames_;
    int dataChannelCount_ = 0;
    int textureResolution_ = 1024;
    Grid grid_;
    UniformTarget* uniforms_;
    unsigned int velocityTexture_ = 0;
    // Index k holds data channel k's texture; 0 is unused.
    std::array<unsigned int, maxDataChannels + 1> dataTextures_{};
    void (*textureReleaser_)(FlowData&) = nullptr;
    std::array<std::unique_ptr<Channel>, slotCount> slots_;
};
