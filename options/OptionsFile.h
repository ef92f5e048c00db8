#pragma once

#include <array>
#include <string>
#include <vector>

class Camera;
class OptionsReader;
class StreamlineSet;
class TransferFunction;

// Saves all user settings to an XML options file and loads them back: every
// setting of the settings table that has an options-file entry, the camera,
// the points of the four transfer functions (velocity, data1, data2, arrow)
// and of those of data channels 3 and on (data3, data4, ... after arrow),
// and the streamline colour. Holds pointers only, none owned.
//
// A load writes the live variables and the attached objects directly; the
// caller then brings the panel, textures, uniforms and streamlines in line.
class OptionsFile {
public:
    explicit OptionsFile(Camera* camera) : camera(camera) {}

    // The objects of the dataset just opened; `channelFunctions` are the
    // transfer functions of data channels 3, 4, ... in order.
    void attach(const std::array<TransferFunction*, 4>& transferFunctions, StreamlineSet* streamlineSet,
                std::vector<TransferFunction*> channelFunctions = {});

    // Writes "Save Error" to standard error when the file cannot be written;
    // the previous file is then left as it was. Before attach, does nothing.
    // Returns whether the file was written.
    bool save(const std::string& fileName) const;
    // Writes its message to standard error and stops when the file cannot be
    // read or a transfer function has fewer than two points; what was stored
    // before stays. Missing or unusable values keep their current values and
    // are named in one line on standard error. Values are clamped to the
    // settings' limits, camera values to the Camera's bounds. Before attach, does nothing. Returns whether the
    // whole file was read.
    bool load(const std::string& fileName);

    // What the last load left undone, for the window's messages: the entries
    // that kept their current values, those it clamped, and why it stopped
    // (empty when it read the whole file).
    const std::vector<std::string>& skippedEntries() const { return skipped; }
    // The entries whose values lay outside their settings' limits.
    const std::vector<std::string>& clampedEntries() const { return clamped; }
    const std::string& loadFailure() const { return failure; }

private:
    Camera* camera;
    std::array<TransferFunction*, 4> transferFunctions{};
    std::vector<TransferFunction*> channelFunctions;
    StreamlineSet* streamlineSet = nullptr;
    std::vector<std::string> skipped;
    std::vector<std::string> clamped;
    std::string failure;

    bool attached() const;
    // False (with its message) when a transfer function has too few points.
    // A dataset's file may lack the elements of channels 3 and on, or hold
    // those of channels this dataset lacks: both are passed over in silence.
    bool loadTransferFunctions(OptionsReader& in);
};
