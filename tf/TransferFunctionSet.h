#pragma once

#include "tf/ColorChooser.h"
#include "tf/TransferFunction.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class FlowData;
class UniformTarget;

// Editor titles of transfer functions 0 velocity, 1 channel 1, 2 channel 2,
// 3 arrow plot.
extern const char* const transferFunctionTitles[4];

// The editor title of any transfer function: the four above, "Channel k TF"
// for the one of data channel k >= 3.
std::string transferFunctionTitle(const TransferFunction& tf);

// Marker width of every default and added point, in strip units (the strip
// is 4.0 long). At the editor's 1.4 units over 141 rows of a 700-row window
// a unit is about 100 pixels, so a marker is 12 pixels wide and picked within
// 6 pixels either side; the spacing rule (one full width to each neighbour)
// lets up to 32 interior points fit, so 15 fit with room for a loose hand.
constexpr float defaultPointWidth = 0.12f;

// The colour chooser and the transfer functions of one dataset: the four
// that every dataset has, and one more for each data channel from 3 on. The
// chooser is shared by all and must outlive them; all are owned here.
struct TransferFunctionSet {
    std::unique_ptr<ColorChooser> chooser;
    std::array<std::unique_ptr<TransferFunction>, 4> functions;
    // Data channels 3, 4, ... in order; tfIndex k + 1 for channel k.
    std::vector<std::unique_ptr<TransferFunction>> moreChannels;

    TransferFunction* operator[](int index) const { return functions[static_cast<std::size_t>(index)].get(); }
    // Observing pointers in index order, for the objects that only use them.
    std::array<TransferFunction*, 4> pointers() const {
        return {functions[0].get(), functions[1].get(), functions[2].get(), functions[3].get()};
    }
    // Observing pointers to the transfer functions of channels 3, 4, ...
    std::vector<TransferFunction*> moreChannelPointers() const;

    // The transfer function of background `channel` (0 velocity, k data
    // channel k); null for a channel without one.
    TransferFunction* forBackground(int channel) const;
    // The one the editor shows and edits (see activeTransferFunctionIndex);
    // a background without a transfer function falls back to velocity.
    TransferFunction* active(int applyArrowTf, int showArrowPlot, int backgroundChannel) const;
};

// Builds the chooser (size 1.1, centre (1.2, 0.7)) and the transfer functions
// with default points and histograms of their channels: velocity and arrow
// plot over `magnitudeSlot`; data channel k over slot 2 + k when the dataset
// has it, the channel 1 and 2 functions otherwise over the two slots below
// `coordXSlot`; one more function for each data channel from 3 on.
TransferFunctionSet createTransferFunctions(const FlowData* flowData, int magnitudeSlot, int coordXSlot,
                                            UniformTarget* shader);

// The transfer function the editor shows and edits, of the four: the arrow
// plot's when the arrow plot is shown with its own transfer function, else
// the background channel's (a channel outside 0 to 2 falls back to velocity).
int activeTransferFunctionIndex(int applyArrowTf, int showArrowPlot, int backgroundChannel);
