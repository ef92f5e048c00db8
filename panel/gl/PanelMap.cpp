#include "panel/gl/PanelMap.h"

#include "panel/PanelWindow.h"
#include "panel/gl/PanelWidgets.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

std::string (*programLines)() = nullptr;

// Taken as absolute once: the file browser moves the current directory.
const std::string& mapPath() {
    static const std::string path = [] {
        const char* name = std::getenv("QUILLMERE_PANEL_MAP");
        std::error_code error;
        return name && *name ? std::filesystem::absolute(name, error).string() : std::string();
    }();
    return path;
}

std::string shownState(const PanelControl& control) {
    switch (control.kind()) {
    case ControlKind::Rollout: return static_cast<const PanelRollout&>(control).isOpen() ? "1" : "0";
    case ControlKind::Checkbox: return std::to_string(static_cast<const PanelCheckbox&>(control).get_int_val());
    case ControlKind::RadioButton: {
        const auto& button = static_cast<const PanelRadioButton&>(control);
        const auto* group = static_cast<const PanelRadioGroup*>(control.parent());
        return group->get_int_val() == button.index() ? "1" : "0";
    }
    case ControlKind::Spinner: {
        const auto& spinner = static_cast<const PanelSpinner&>(control);
        if (spinner.type() == SpinnerType::Int) return std::to_string(spinner.get_int_val());
        char text[64];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(spinner.get_float_val()));
        return text;
    }
    case ControlKind::EditText: return static_cast<const PanelEditText&>(control).get_text();
    default: return std::string();
    }
}

// A radio button is drawn enabled only while its group is.
bool shownEnabled(const PanelControl& control) {
    if (control.kind() == ControlKind::RadioButton && !control.parent()->isEnabled()) return false;
    return control.isEnabled();
}

void line(std::ostringstream& out, const char* kind, const std::string& label, bool enabled, const PanelRect& r,
          const std::string& state) {
    out << kind << '\t' << label << '\t' << (enabled ? 1 : 0) << '\t' << std::lround(r.x) << '\t' << std::lround(r.y)
        << '\t' << std::lround(r.w) << '\t' << std::lround(r.h) << '\t' << state << '\n';
}

void listControls(std::ostringstream& out, const PanelControl& control, const PanelFrameResult& frame) {
    auto drawn = frame.rects.find(&control);
    if (drawn != frame.rects.end()) {
        line(out, controlKindName(control.kind()), control.label(), shownEnabled(control), drawn->second,
             shownState(control));
    }
    if (control.kind() == ControlKind::FileBrowser && drawn != frame.rects.end()) {
        const auto& browser = static_cast<const PanelFileBrowser&>(control);
        line(out, "folder", browser.folder(), control.isEnabled(), frame.folderRect, frame.folderText);
    }
    if (control.kind() == ControlKind::FileBrowser) {
        const auto& entries = static_cast<const PanelFileBrowser&>(control).entries();
        for (std::size_t i = 0; i < entries.size() && i < frame.fileEntryRects.size(); ++i) {
            line(out, "file", entries[i].name, control.isEnabled(), frame.fileEntryRects[i],
                 entries[i].isDirectory ? "dir" : "file");
        }
    }
    for (const auto& child : control.children()) listControls(out, *child, frame);
}

}  // namespace

void setPanelMapLines(std::string (*lines)()) { programLines = lines; }

void writePanelMap(const PanelWindow& window, const PanelFrameResult& frame, bool settled, unsigned long buttonEvents,
                   const char* dockState, int dockWidth, int windowHeight) {
    const std::string& path = mapPath();
    if (path.empty()) return;
    static unsigned long frameNumber = 0;
    std::ostringstream out;
    out << "frame\t" << ++frameNumber << '\t' << (settled ? 1 : 0) << '\t' << buttonEvents << '\n';
    line(out, "dock", dockState, true,
         PanelRect{0.0f, 0.0f, static_cast<float>(dockWidth), static_cast<float>(windowHeight)}, "");
    listControls(out, window, frame);
    if (!frame.tooltip.empty()) line(out, "tooltip", frame.tooltip, true, frame.tooltipRect, "");
    if (programLines) out << programLines();
    // Written aside and renamed, so a reader never sees half a map.
    const std::string temporary = path + ".part";
    if (FILE* file = std::fopen(temporary.c_str(), "w")) {
        const std::string text = out.str();
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (std::fclose(file) == 0 && written) std::rename(temporary.c_str(), path.c_str());
    }
}
