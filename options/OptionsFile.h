#pragma once

#include <array>
#include <string>

class ArrowPlot;
class Camera;
class StreamlineSet;
class TransferFunction;

// Saves all user settings to an XML options file and loads them back: the
// background channel, the camera, the points of the four transfer functions
// (velocity, data1, data2, arrow), the arrow-plot settings and the streamline
// settings with the streamline colour. Holds pointers only, none owned.
//
// A load writes the live variables and the attached objects directly; the
// caller then brings the panel, textures, uniforms and streamlines in line.
class OptionsFile {
public:
    OptionsFile(Camera* camera, int* backgroundChannel, int* integrationMethod, int* streamlineMode, int* seedPoints,
                float* dsep, float* dtest, float* stepSize, int* showStreamlines);

    // The objects of the dataset just opened.
    void attach(ArrowPlot* arrowPlot, const std::array<TransferFunction*, 4>& transferFunctions,
                StreamlineSet* streamlineSet);

    // Writes "Save Error" to standard error when the file cannot be written;
    // the previous file is then left as it was. Before attach, does nothing.
    // Returns whether the file was written.
    bool save(const std::string& fileName) const;
    // Writes its message to standard error and stops when the file cannot be
    // read or a transfer function has fewer than two points; what was stored
    // before stays. Missing or unusable values keep their current values and
    // are named in one line on standard error. Values are clamped to the
    // panel's limits. Before attach, does nothing. Returns whether the whole
    // file was read.
    bool load(const std::string& fileName);

private:
    Camera* camera;
    ArrowPlot* arrowPlot = nullptr;
    std::array<TransferFunction*, 4> transferFunctions{};
    int* backgroundChannel;
    StreamlineSet* streamlineSet = nullptr;
    int* integrationMethod;
    int* streamlineMode;
    int* seedPoints;
    float* dsep;
    float* dtest;
    float* stepSize;
    int* showStreamlines;

    bool attached() const;
};
