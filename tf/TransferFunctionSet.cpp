#include "tf/TransferFunctionSet.h"

#include "data/FlowData.h"

const char* const transferFunctionTitles[4] = {"Velocity TF", "Channel 1 TF", "Channel 2 TF", "Arrow Plot TF:"};

std::string transferFunctionTitle(const TransferFunction& tf) {
    if (tf.tfIndex < 4) return transferFunctionTitles[tf.tfIndex < 0 ? 0 : tf.tfIndex];
    return "Channel " + std::to_string(tf.tfIndex - 1) + " TF";
}

namespace {
std::unique_ptr<TransferFunction> makeTransferFunction(ColorChooser* chooser, UniformTarget* shader,
                                                       const FlowData* flowData, int index, int slot,
                                                       const TransferFunction* sameChannel = nullptr) {
    return std::make_unique<TransferFunction>(2.5f, 0.1f, 4.0f, defaultPointWidth, 320, chooser, shader, 0.065f, index,
                                              index == 3, flowData, slot, sameChannel);
}
}  // namespace

TransferFunctionSet createTransferFunctions(const FlowData* flowData, int magnitudeSlot, int coordXSlot,
                                            UniformTarget* shader) {
    TransferFunctionSet set;
    set.chooser = std::make_unique<ColorChooser>(1.1f, 1.2f, 0.7f);
    const int channels = flowData ? flowData->dataChannelCount() : 0;
    // Data channel k sits in slot 2 + k. The slots below the node-x channel
    // are those of channels 1 and 2 only in a two-channel dataset.
    auto dataSlot = [&](int k) { return k <= channels ? 2 + k : coordXSlot - 3 + k; };
    const int slots[4] = {magnitudeSlot, dataSlot(1), dataSlot(2), magnitudeSlot};
    // The arrow plot's histogram is the velocity's: counted once.
    for (int index = 0; index < 4; ++index)
        set.functions[static_cast<std::size_t>(index)] = makeTransferFunction(
            set.chooser.get(), shader, flowData, index, slots[index], index == 3 ? set.functions[0].get() : nullptr);
    for (int k = 3; k <= channels; ++k)
        set.moreChannels.push_back(makeTransferFunction(set.chooser.get(), shader, flowData, k + 1, dataSlot(k)));
    return set;
}

std::vector<TransferFunction*> TransferFunctionSet::moreChannelPointers() const {
    std::vector<TransferFunction*> result;
    for (const auto& tf : moreChannels) result.push_back(tf.get());
    return result;
}

TransferFunction* TransferFunctionSet::forBackground(int channel) const {
    if (channel >= 0 && channel <= 2) return functions[static_cast<std::size_t>(channel)].get();
    const std::size_t k = static_cast<std::size_t>(channel - 3);
    return channel >= 3 && k < moreChannels.size() ? moreChannels[k].get() : nullptr;
}

TransferFunction* TransferFunctionSet::active(int applyArrowTf, int showArrowPlot, int backgroundChannel) const {
    if (activeTransferFunctionIndex(applyArrowTf, showArrowPlot, backgroundChannel) == 3) return functions[3].get();
    TransferFunction* tf = forBackground(backgroundChannel);
    return tf ? tf : functions[0].get();
}

int activeTransferFunctionIndex(int applyArrowTf, int showArrowPlot, int backgroundChannel) {
    if (applyArrowTf == 1 && showArrowPlot == 1) return 3;
    return backgroundChannel >= 0 && backgroundChannel <= 2 ? backgroundChannel : 0;
}
