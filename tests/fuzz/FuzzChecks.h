#pragma once

// The properties the fuzz targets check, one function per target. Each takes
// one input and returns "" when every property holds, else what broke. The
// libFuzzer targets (tests/fuzz/*_fuzz.cpp, built with -DQM_FUZZ=ON) abort on
// a broken property; the unit test fuzz_replay_test runs every saved input of
// tests/fuzz/inputs/<target>/ through the same functions, so CI guards them
// without clang.
//
// The functions write the programs' usual console lines; callers silence or
// capture them.

#include <cstddef>
#include <cstdint>
#include <string>

// XML reader: any input ends in a tree or in "Bad File"; a tree that was read
// reads back unchanged after writing it.
std::string checkXmlInput(const std::uint8_t* data, std::size_t size);

// Options loader: the input (after the declaration line) as an options file.
// The load ends with every setting within the panel's limits, the camera
// within its bounds and every transfer function in the shape the editor and
// the colour table rely on; what it left saves and loads again.
std::string checkOptionsInput(const std::uint8_t* data, std::size_t size);

// Dataset loader and placement. The input is a grid file and a data file:
// four bytes (little-endian) giving the grid file's length, the grid file,
// then the data file. A load that succeeds fills every channel it announces;
// its texel buffer is built, and evenly spaced and seeded streamlines are
// placed with distances scaled to the domain. Every placed point is finite,
// and evenly spaced points lie in the domain.
std::string checkDatasetInput(const std::uint8_t* data, std::size_t size);

// Packs a grid file and a data file into one dataset input.
std::string datasetInput(const std::string& grid, const std::string& data);
