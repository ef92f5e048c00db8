#pragma once

#include <string>
#include <vector>

// The files the viewer reads at start (the shader pair "src/Flow.vert",
// "src/Flow.frag" and the arrow image "img/arrow.tga", by these names below
// a folder) are looked for in these folders, in this order: the working
// directory (as ""), the executable's folder, and the installed share
// folder beside it (<prefix>/share/quillmere for <prefix>/bin/quillmere).
// The others end in "/", so a folder and a file name make a path.
std::vector<std::string> runtimeFolders();

// The first folder holding every one of `files`.
struct FoundFiles {
    bool found = false;
    std::string folder;
};
FoundFiles findRuntimeFiles(const std::vector<std::string>& folders, const std::vector<std::string>& files);

// "Looked for src/Flow.vert and src/Flow.frag in <cwd>, <folder>, <folder>"
std::string lookedFor(const std::vector<std::string>& folders, const std::vector<std::string>& files);
