#include "app/ViewerArguments.h"

#include "common/Usage.h"
#include "settings/Settings.h"

#include <cstdio>

namespace {
const std::string kBlanks = "\n\r\t ";

bool isKnown(const std::string& name) {
    for (const ViewerOption& o : viewerOptions())
        if (name == o.name) return true;
    return findSetting(name) != nullptr;
}

bool isRepeatable(const std::string& name) {
    for (const ViewerOption& o : viewerOptions())
        if (name == o.name) return o.repeatable;
    return false;
}

// An option as written: its name without one or two leading dashes, and the
// text after "=" when there is one.
struct Spelling {
    std::string name;
    std::string inlineValue;
    bool hasInlineValue = false;
};

bool spelledAsOption(const std::string& argument, Spelling& spelling) {
    if (argument.size() < 2 || argument[0] != '-') return false;
    std::string name = argument.substr(argument.size() > 2 && argument[1] == '-' ? 2 : 1);
    const std::size_t equals = name.find('=');
    spelling.hasInlineValue = equals != std::string::npos;
    if (spelling.hasInlineValue) {
        spelling.inlineValue = trim(name.substr(equals + 1), kBlanks);
        name.resize(equals);
    }
    spelling.name = trim(name, kBlanks);
    return true;
}

// Whether the argument is one the viewer would read as an option of its own,
// and so never the value of the option before it.
bool isKnownOption(const std::string& argument) {
    const std::string a = trim(argument, kBlanks);
    Spelling s;
    return isHelpOption(a) || isVersionOption(a) || (spelledAsOption(a, s) && isKnown(s.name));
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}
}  // namespace

const std::vector<ViewerOption>& viewerOptions() {
    static const std::vector<ViewerOption> options = {
        {"datafile", "FILE", "open this grid file (.gri); its data file NAME.00000.dat lies beside it"},
        {"options", "FILE", "load this options file (.xml) once the dataset is open, before the settings"},
        {"fitToData", "0|1",
         "1 fits dsep, dtest, the step and the drawing sizes to the dataset's box as it opens, as \"Fit to "
         "data\" does; an options file and the settings below win"},
        {"screenshot", "FILE",
         "batch run: save the graphics area of the first frame as PNG under this name, then exit"},
        {"allTimesteps", "0|1",
         "with -screenshot: 1 saves one PNG per time step; the file name holds one %d for the step (%04d pads it)"},
        {"colormap", "TF=NAME",
         "give a transfer function a colour map, after the options file: TF is velocity, arrow or a data channel's "
         "number, NAME one of grey, viridis, magma, cividis, cool-warm, cool-warm-zero (grey at 0), cubehelix; "
         "may be given more than once",
         true},
    };
    return options;
}

std::string missingValue(const std::string& name) { return "Missing value for option -" + name; }

ViewerArguments readViewerArguments(int argc, const char* const* argv) {
    ViewerArguments result;
    if (argc > 0) result.line.programName = argv[0];
    for (int i = 1; i < argc; ++i) {
        const std::string a = trim(argv[i], kBlanks);
        Spelling s;
        if (isHelpOption(a)) {
            result.help = true;
        } else if (isVersionOption(a)) {
            result.version = true;
        } else if (spelledAsOption(a, s)) {
            std::string value = s.inlineValue;
            const bool nextIsValue = !s.hasInlineValue && i + 1 < argc && !isKnownOption(argv[i + 1]);
            if (nextIsValue) value = trim(argv[++i], kBlanks);
            if (!isKnown(s.name)) {
                result.problems.push_back("Ignoring unknown option " + a);
            } else {
                result.given.insert(s.name);
                if (value.empty()) {
                    result.problems.push_back(missingValue(s.name));
                } else {
                    result.line.options[s.name] = value;
                    if (isRepeatable(s.name)) result.line.repeated[s.name].push_back(value);
                }
            }
        }
    }
    return result;
}

std::string viewerHelp() {
    UsageSection options{"Options:", {}};
    for (const ViewerOption& o : viewerOptions())
        options.entries.push_back({std::string("-") + o.name + " " + o.value, o.meaning});
    options.entries.push_back({"-geometry WxH", "the window's size in pixels (GLUT's own option), e.g. 800x600"});
    options.entries.push_back({"-h, --help", "print this help and exit"});
    options.entries.push_back({"--version", "print the version and exit"});

    UsageSection settingsSection{"Settings (applied after the dataset opens, as if changed in the panel):", {}};
    for (const Setting& s : settings()) {
        std::string range = s.limited ? number(s.low) + " .. " + number(s.high) + ", start " : "start ";
        settingsSection.entries.push_back({std::string("-") + s.name + (s.intValue ? " N" : " X"),
                                           std::string(s.meaning) + " [" + range + number(s.start) + "]"});
    }

    UsageSection exitStatus{
        "Exit status:",
        {{"0",
          "the window was closed; with -screenshot: the picture was saved and nothing was reported on standard "
          "error"},
         {"1",
          "GLEW or DevIL could not start; with -screenshot: any error on the way (an unknown option, a missing "
          "value, a dataset or options file that did not load, a refused setting, a missing shader or arrow "
          "image, a failed save). The picture is still saved when a frame could be drawn."}}};

    return formatHelp(
        "Usage: quillmere [-datafile FILE.gri] [-options FILE.xml] [-SETTING VALUE ...]\n"
        "                 [-screenshot FILE.png]",
        "Shows a 2D flow dataset in a window. Every option takes one dash or two (-dsep 0.3, --dsep "
        "0.3, --dsep=0.3).",
        {options, settingsSection, exitStatus});
}
