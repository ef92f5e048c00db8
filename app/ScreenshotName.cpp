#include "app/ScreenshotName.h"

#include <cstdio>
#include <sys/stat.h>

std::string nextScreenshotName() {
    char name[1024];
    for (int n = 0; n < 9999; ++n) {
        std::snprintf(name, sizeof name, "Quillmere%04d.png", n);
        struct stat info;
        if (stat(name, &info) != 0) break;
    }
    return name;
}
