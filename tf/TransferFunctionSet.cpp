#include "tf/TransferFunctionSet.h"

const char* const transferFunctionTitles[4] = {"Velocity TF", "Channel 1 TF", "Channel 2 TF", "Arrow Plot TF:"};

TransferFunctionSet createTransferFunctions(const FlowData* flowData, int magnitudeSlot, int coordXSlot,
                                            UniformTarget* shader) {
    TransferFunctionSet set;
    set.chooser = std::make_unique<ColorChooser>(1.1f, 1.2f, 0.7f);
    const int slots[4] = {magnitudeSlot, coordXSlot - 2, coordXSlot - 1, magnitudeSlot};
    for (int index = 0; index < 4; ++index) {
        const bool isArrow = index == 3;
        set.functions[static_cast<std::size_t>(index)] =
            std::make_unique<TransferFunction>(2.5f, 0.1f, 4.0f, defaultPointWidth, 320, set.chooser.get(), shader,
                                               0.065f, index, isArrow, flowData, slots[index]);
    }
    return set;
}

int activeTransferFunctionIndex(int applyArrowTf, int showArrowPlot, int backgroundChannel) {
    if (applyArrowTf == 1 && showArrowPlot == 1) return 3;
    return backgroundChannel >= 0 && backgroundChannel <= 2 ? backgroundChannel : 0;
}
