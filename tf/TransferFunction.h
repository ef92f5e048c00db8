#pragma once

#include "data/TextureUnits.h"
#include "common/MouseCodes.h"
#include "tf/ColorTable.h"
#include "tf/TfPointList.h"

#include <array>
#include <cstdint>
#include <vector>

class ColorChooser;
class FlowData;
class UniformTarget;

// One editable transfer function: its control points, the histogram of its
// channel, the colour table rasterised from the points and the 1D texture
// made from it, and the place of its strip in the editor (editor units).
class TransferFunction {
public:
    TransferFunction(float originX, float originY, float stripWidth, float pointWidth, int binCount,
                     ColorChooser* chooser, UniformTarget* shader, float stripHeight, int tfIndex, bool isArrowTf,
                     const FlowData* flowData, int channelSlot, const TransferFunction* sameChannel = nullptr);
    TransferFunction(const TransferFunction&) = delete;
    TransferFunction& operator=(const TransferFunction&) = delete;

    TfPointList& points() { return pointList; }
    const TfPointList& points() const { return pointList; }

    // Counts the channel's node values into the bins and derives the bar
    // heights; bins that would get a non-finite height get 0 (no bar).
    void computeHistogram();
    // The same, taking the bin counts of `sameChannel` when it counted the
    // same channel of the same dataset into as many bins (may be null).
    void computeHistogram(const TransferFunction* sameChannel);
    // Rasterises the points into colorTable and marks the texture for a
    // rebuild, which the GL layer does before it next binds the texture.
    void buildColorTable();
    // One mouse event at editor position (ex, ey): add, select, drag,
    // recolour or remove points; ends with buildColorTable.
    void handleMouse(int button, int state, float ex, float ey);

    // GL layer (tf/gl). updateTexture (re)creates the texture from colorTable,
    // generating the name on first use; upload binds it on its unit and points
    // the sampler at it; releaseTexture deletes it (call before destruction
    // while the GL context still exists).
    void updateTexture();
    void upload();
    void releaseTexture();
    int textureUnit() const { return isArrowTf ? textureUnit::arrowTf : textureUnit::backgroundTf; }
    void draw();
    void drawHistogram();
    void drawPoints();
    void drawColorBar();

    float stripWidth;
    float stripHeight;
    float pointWidth;
    float originX;
    float originY;
    ColorChooser* chooser;
    UniformTarget* shader;
    int binCount;
    std::vector<int> binCounts;
    std::vector<float> binHeights;
    int maxBinCount = 0;
    bool dragging = false;
    std::array<std::uint8_t, colorTableBytes> colorTable{};
    unsigned int textureName = 0;
    bool textureStale = true;
    int tfIndex;
    bool isArrowTf;
    const FlowData* flowData;
    int channelSlot;

private:
    TfPointList pointList;
};
