#pragma once

#include "tf/ColorChooser.h"
#include "tf/TransferFunction.h"

#include <array>
#include <memory>

class FlowData;
class UniformTarget;

// Editor titles of transfer functions 0 velocity, 1 channel 1, 2 channel 2,
// 3 arrow plot.
extern const char* const transferFunctionTitles[4];

// Marker width of every default and added point, in strip units (the strip
// is 4.0 long). At the editor's 1.4 units over 141 rows of a 700-row window
// a unit is about 100 pixels, so a marker is 12 pixels wide and picked within
// 6 pixels either side; the spacing rule (one full width to each neighbour)
// lets up to 32 interior points fit, so 15 fit with room for a loose hand.
constexpr float defaultPointWidth = 0.12f;

// The colour chooser and the four transfer functions of one dataset. The
// chooser is shared by the four and must outlive them; both are owned here.
struct TransferFunctionSet {
    std::unique_ptr<ColorChooser> chooser;
    std::array<std::unique_ptr<TransferFunction>, 4> functions;

    TransferFunction* operator[](int index) const { return functions[static_cast<std::size_t>(index)].get(); }
    // Observing pointers in index order, for the objects that only use them.
    std::array<TransferFunction*, 4> pointers() const {
        return {functions[0].get(), functions[1].get(), functions[2].get(), functions[3].get()};
    }
};

// Builds the chooser (size 1.1, centre (1.2, 0.7)) and the four transfer
// functions with default points and histograms of their channels: velocity
// and arrow plot over `magnitudeSlot`, the two data channels over the two
// slots below `coordXSlot`.
TransferFunctionSet createTransferFunctions(const FlowData* flowData, int magnitudeSlot, int coordXSlot,
                                            UniformTarget* shader);

// The transfer function the editor shows and edits: the arrow plot's when the
// arrow plot is shown with its own transfer function, else the background
// channel's (an out-of-range channel falls back to velocity).
int activeTransferFunctionIndex(int applyArrowTf, int showArrowPlot, int backgroundChannel);
