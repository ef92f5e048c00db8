#pragma once

#include "settings/Modes.h"
#include "streamlines/StreamlineGeometry.h"

#include <cstdint>
#include <vector>

class StreamlineSet;

// How placed streamlines are drawn: the mode and what it reads.
struct StreamlineLook {
    StreamlineMode mode = StreamlineMode::Evenly;
    LineStyle style;  // lines, bands and glyphs
    float lineWidthMax = 0.1f;
    float lineWidthMin = 0.04f;
    float glyphSpacing = 0.3f;
    int texturePeriod = 160;
    int textureFunction = 0;
    // How far (view units) lines, bands and textures may stray from points
    // left out of them (drawnPoints); 0 draws every point.
    float tolerance = 0.0f;
};

// The streamlines of one placement in a vertex buffer: the geometry of the
// mode (StreamlineGeometry) is built and uploaded once, and every frame
// draws it from there, until the lines or their look change. Drawn in the
// model-view matrix of the scene, y up like the field quad, at the line
// width the caller set (an outline is drawn wider and the width put back).
// Needs a current GL context with GLEW.
class StreamlineBuffers {
public:
    StreamlineBuffers() = default;
    ~StreamlineBuffers();
    StreamlineBuffers(const StreamlineBuffers&) = delete;
    StreamlineBuffers& operator=(const StreamlineBuffers&) = delete;

    // Not const: tapering and colours by speed read the set's per-placement
    // caches of distances and values.
    void draw(StreamlineSet& set, const StreamlineLook& look);
    // Gives the buffer back; the next draw builds it again.
    void release();
    // How many times the geometry was built (for checks that frames reuse it).
    int builds() const { return builds_; }

private:
    // What the geometry in the buffer was built from.
    struct Key {
        std::uint64_t placement = 0;  // no two sets share one
        StreamlineLook look;
        std::vector<std::uint8_t> speedTable;  // a copy: the table is edited in place
        float speedMin = 0.0f;
        float speedMax = 0.0f;
        bool operator==(const Key& other) const;
    };
    // A run of draw calls over one part of the buffer.
    struct Batch {
        unsigned primitive = 0;
        std::vector<int> firsts;
        std::vector<int> counts;
    };
    void build(StreamlineSet& set, const Key& key);

    unsigned buffer_ = 0;
    bool built_ = false;
    Key key_;
    Batch shapes_;
    Batch outline_;              // empty without an outline
    float outlineWidth_ = 1.0f;  // added to the line width in force
    int builds_ = 0;
};

// A tolerance for StreamlineLook from the projection and viewport in force:
// an eighth to a quarter of a pixel in view units, a power of two, so that
// zooming builds the buffer again only now and then. 0 when the view has no
// size.
float pixelTolerance();
