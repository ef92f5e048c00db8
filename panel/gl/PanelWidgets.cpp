#include "panel/gl/PanelWidgets.h"

#include "panel/PanelWindow.h"
#include "panel/gl/PanelSpinnerWidget.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cfloat>
#include <map>
#include <utility>
#include <string>

namespace {

// File-browser list height in text lines: as many as the folder has
// entries, at least this many and at most what a share of the window holds.
constexpr int fileListMinLines = 8;
constexpr float fileListWindowShare = 0.45f;
// Tooltips wrap at this many font heights.
constexpr float tooltipWidth = 24.0f;

// The folder the list last showed, per browser: a new folder starts at the
// top of the list.
std::map<const PanelFileBrowser*, unsigned> listedFolder;
// A path being typed into a browser's folder field, kept until it is left.
std::map<const PanelFileBrowser*, std::string> typedPath;
// Where the folder field was drawn in the last frame.
PanelRect lastFolderRect;

// The end of `path` that fits into `width` pixels, marked "..." when cut.
std::string tailThatFits(const std::string& path, float width) {
    if (ImGui::CalcTextSize(path.c_str()).x <= width) return path;
    for (std::size_t start = 1; start < path.size(); ++start) {
        std::string tail = "..." + path.substr(start);
        if (ImGui::CalcTextSize(tail.c_str()).x <= width) return tail;
    }
    return path;
}

class Drawer {
public:
    Drawer(PanelFrameResult& result, float displayHeight) : result_(result), displayHeight_(displayHeight) {}

    void children(PanelControl& control) {
        for (const auto& child : control.children()) {
            draw(*child);
        }
    }

private:
    void draw(PanelControl& control) {
        if (!control.isShown()) return;
        ImGui::PushID(&control);
        const ImVec2 start = ImGui::GetCursorScreenPos();
        const float width = ImGui::GetContentRegionAvail().x;
        switch (control.kind()) {
        case ControlKind::Panel: group(static_cast<PanelGroup&>(control)); break;
        case ControlKind::Rollout: rollout(static_cast<PanelRollout&>(control)); break;
        case ControlKind::Checkbox: checkbox(static_cast<PanelCheckbox&>(control)); break;
        case ControlKind::RadioGroup: radioGroup(static_cast<PanelRadioGroup&>(control)); break;
        case ControlKind::Spinner: spinner(static_cast<PanelSpinner&>(control)); break;
        case ControlKind::Button: button(static_cast<PanelButton&>(control)); break;
        case ControlKind::StaticText: staticText(control); break;
        case ControlKind::Separator: separator(); break;
        case ControlKind::EditText: editText(static_cast<PanelEditText&>(control)); break;
        case ControlKind::FileBrowser: fileBrowser(static_cast<PanelFileBrowser&>(control)); break;
        case ControlKind::Window:
        case ControlKind::RadioButton: break;
        }
        // The rows the control took, across the panel; radio buttons and the
        // file browser show theirs on their own parts.
        const ControlKind kind = control.kind();
        if (kind != ControlKind::Panel && kind != ControlKind::Rollout && kind != ControlKind::RadioGroup &&
            kind != ControlKind::FileBrowser)
            describe(control.tooltip(), start, ImVec2(start.x + width, ImGui::GetItemRectMax().y));
        ImGui::PopID();
    }

    // Shows `text` as a tooltip while the pointer rests between `min` and
    // `max` and no button is held: at the pointer, or at `at` when given.
    void describe(const std::string& text, ImVec2 min, ImVec2 max, const ImVec2* at = nullptr) {
        if (text.empty() || ImGui::IsAnyMouseDown() ||
            !ImGui::IsWindowHovered(ImGuiHoveredFlags_AllowWhenBlockedByActiveItem | ImGuiHoveredFlags_ChildWindows) ||
            !ImGui::IsMouseHoveringRect(min, max))
            return;
        if (at != nullptr) ImGui::SetNextWindowPos(*at);
        ImGui::BeginTooltip();
        ImGui::PushTextWrapPos(ImGui::GetFontSize() * tooltipWidth);
        ImGui::TextUnformatted(text.c_str());
        ImGui::PopTextWrapPos();
        const ImVec2 pos = ImGui::GetWindowPos();
        const ImVec2 size = ImGui::GetWindowSize();
        ImGui::EndTooltip();
        result_.tooltip = text;
        result_.tooltipRect = PanelRect{pos.x, pos.y, size.x, size.y};
    }

    void remember(PanelControl& control) {
        ImVec2 min = ImGui::GetItemRectMin();
        ImVec2 max = ImGui::GetItemRectMax();
        result_.rects[&control] = PanelRect{min.x, min.y, max.x - min.x, max.y - min.y};
    }

    template <class F>
    void act(F&& action) {
        result_.actions.emplace_back(std::forward<F>(action));
    }

    // A titled frame around the children; the children keep their own states.
    void group(PanelGroup& panel) {
        ImVec2 start = ImGui::GetCursorScreenPos();
        float width = ImGui::GetContentRegionAvail().x;
        if (!panel.label().empty()) {
            ImGui::BeginDisabled(!panel.isEnabled());
            ImGui::TextUnformatted(panel.label().c_str());
            ImGui::EndDisabled();
            remember(panel);
        }
        ImGui::Indent();
        children(panel);
        ImGui::Unindent();
        if (panel.style() != PanelStyle::None) {
            ImVec2 end(start.x + width, ImGui::GetCursorScreenPos().y);
            ImGui::GetWindowDrawList()->AddRect(ImVec2(start.x - 3.0f, start.y - 2.0f), end,
                                                ImGui::GetColorU32(ImGuiCol_Border));
            ImGui::Dummy(ImVec2(0.0f, 2.0f));
        }
    }

    // The header follows the model's open state every frame, so a close by
    // the program collapses it; a click is handed to the model.
    void rollout(PanelRollout& rollout) {
        ImGui::BeginDisabled(!rollout.isEnabled());
        ImGui::SetNextItemOpen(rollout.isOpen(), ImGuiCond_Always);
        bool open = ImGui::CollapsingHeader(rollout.label().c_str());
        ImGui::EndDisabled();
        remember(rollout);
        if (open != rollout.isOpen()) {
            PanelRollout* target = &rollout;
            act([target, open] { target->userSetOpen(open); });
        }
        if (rollout.isOpen()) {
            ImGui::Indent();
            children(rollout);
            ImGui::Unindent();
            ImGui::Spacing();
        }
    }

    void checkbox(PanelCheckbox& box) {
        bool ticked = box.get_int_val() != 0;
        ImGui::BeginDisabled(!box.isEnabled());
        if (ImGui::Checkbox(box.label().c_str(), &ticked)) {
            PanelCheckbox* target = &box;
            act([target] { target->userToggle(); });
        }
        ImGui::EndDisabled();
        remember(box);
    }

    void radioGroup(PanelRadioGroup& group) {
        for (std::size_t i = 0; i < group.buttonCount(); ++i) {
            PanelRadioButton* choice = group.button(static_cast<int>(i));
            if (!choice->isShown()) continue;
            ImGui::PushID(choice);
            const ImVec2 start = ImGui::GetCursorScreenPos();
            const float width = ImGui::GetContentRegionAvail().x;
            ImGui::BeginDisabled(!group.isEnabled() || !choice->isEnabled());
            if (ImGui::RadioButton(choice->label().c_str(), group.get_int_val() == choice->index())) {
                PanelRadioGroup* target = &group;
                int index = choice->index();
                act([target, index] { target->userSelect(index); });
            }
            ImGui::EndDisabled();
            remember(*choice);
            describe(group.tooltip(), start, ImVec2(start.x + width, ImGui::GetItemRectMax().y));
            ImGui::PopID();
        }
    }

    void spinner(PanelSpinner& spinner) {
        ImGui::BeginDisabled(!spinner.isEnabled());
        drawSpinner(spinner, result_.actions);
        ImGui::EndDisabled();
        remember(spinner);
    }

    void button(PanelButton& button) {
        ImGui::BeginDisabled(!button.isEnabled());
        if (ImGui::Button(button.label().c_str())) {
            PanelButton* target = &button;
            act([target] { target->userPress(); });
        }
        ImGui::EndDisabled();
        remember(button);
    }

    // A rule across the container's width (ImGui's own spans the window).
    void separator() {
        ImVec2 start = ImGui::GetCursorScreenPos();
        float width = ImGui::GetContentRegionAvail().x;
        float y = start.y + ImGui::GetStyle().ItemSpacing.y;
        ImGui::GetWindowDrawList()->AddLine(ImVec2(start.x, y), ImVec2(start.x + width, y),
                                            ImGui::GetColorU32(ImGuiCol_Separator));
        ImGui::Dummy(ImVec2(width, 2.0f * ImGui::GetStyle().ItemSpacing.y));
    }

    void staticText(PanelControl& text) {
        ImGui::BeginDisabled(!text.isEnabled());
        ImGui::TextWrapped("%s", text.label().c_str());
        ImGui::EndDisabled();
        remember(text);
    }

    // Label and field together take the control's width when it has one.
    void editText(PanelEditText& edit) {
        ImGui::BeginDisabled(!edit.isEnabled());
        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted(edit.label().c_str());
        float labelWidth = ImGui::GetItemRectSize().x;
        ImGui::SameLine(0.0f, 0.0f);
        ImGui::SetNextItemWidth(edit.width() > 0 ? static_cast<float>(edit.width()) - labelWidth : -FLT_MIN);
        std::string text = edit.get_text();
        PanelEditText* target = &edit;
        if (ImGui::InputText("##text", &text)) {
            act([target, text] { target->userEdit(text); });
        }
        if (ImGui::IsItemDeactivatedAfterEdit()) {
            act([target] { target->userCommit(); });
        }
        ImGui::EndDisabled();
        remember(edit);
    }

    // The folder as a path to edit: when idle the field shows the end of
    // the path that fits; a click gives it the whole path, selected, to type
    // over or add to; Enter goes there.
    void folderField(PanelFileBrowser& browser) {
        PanelFileBrowser* target = &browser;
        ImGui::SetNextItemWidth(-FLT_MIN);
        const float room = ImGui::GetContentRegionAvail().x - 2.0f * ImGui::GetStyle().FramePadding.x;
        const bool pressed = ImGui::IsMouseClicked(ImGuiMouseButton_Left) &&
                             ImGui::IsMouseHoveringRect(
                                 ImVec2(lastFolderRect.x, lastFolderRect.y),
                                 ImVec2(lastFolderRect.x + lastFolderRect.w, lastFolderRect.y + lastFolderRect.h));
        auto typed = typedPath.find(&browser);
        std::string text = typed != typedPath.end() ? typed->second
                           : pressed                ? browser.folder()
                                                    : tailThatFits(browser.folder(), room);
        const ImGuiInputTextFlags flags = ImGuiInputTextFlags_EnterReturnsTrue | ImGuiInputTextFlags_AutoSelectAll;
        if (ImGui::InputText("##folder", &text, flags)) {
            act([target, text] { target->userEnterPath(text); });
            typedPath.erase(&browser);
        } else if (ImGui::IsItemActive()) {
            typedPath[&browser] = text;
        } else {
            typedPath.erase(&browser);
        }
        const ImVec2 min = ImGui::GetItemRectMin();
        const ImVec2 max = ImGui::GetItemRectMax();
        result_.folderRect = PanelRect{min.x, min.y, max.x - min.x, max.y - min.y};
        result_.folderText = text;
        lastFolderRect = result_.folderRect;
        describe(
            "the folder listed below, where screenshots and options files go; type a path (a folder, or a "
            "grid or options file to open) and press Enter",
            min, max);
    }

    // One click enters a folder or picks a file.
    void fileBrowser(PanelFileBrowser& browser) {
        ImGui::BeginDisabled(!browser.isEnabled());
        folderField(browser);
        result_.fileEntryRects.clear();
        const float line = ImGui::GetTextLineHeightWithSpacing();
        const int fitting = static_cast<int>(displayHeight_ * fileListWindowShare / line);
        const int lines = std::max(fileListMinLines, std::min(static_cast<int>(browser.entries().size()), fitting));
        ImVec2 size(-FLT_MIN, static_cast<float>(lines) * line + 2.0f * ImGui::GetStyle().FramePadding.y);
        const ImVec2 listStart = ImGui::GetCursorScreenPos();
        if (ImGui::BeginListBox("##files", size)) {
            if (listedFolder[&browser] != browser.folderChanges()) {
                listedFolder[&browser] = browser.folderChanges();
                ImGui::SetScrollY(0.0f);
                result_.needsFrame = true;  // the scroll bar follows the new length a frame later
            }
            PanelFileBrowser* target = &browser;
            const auto& entries = browser.entries();
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const FileBrowserEntry& entry = entries[i];
                std::string shown = entry.isDirectory && entry.name != ".." ? entry.name + "/" : entry.name;
                ImGui::PushID(static_cast<int>(i));
                if (ImGui::Selectable(shown.c_str(), false)) {
                    act([target, i] { target->userActivate(i); });
                }
                ImVec2 min = ImGui::GetItemRectMin();
                ImVec2 max = ImGui::GetItemRectMax();
                result_.fileEntryRects.push_back(PanelRect{min.x, min.y, max.x - min.x, max.y - min.y});
                ImGui::PopID();
            }
            ImGui::EndListBox();
        }
        remember(browser);
        // Beside the panel, where it hides no entry.
        const ImVec2 listEnd = ImGui::GetItemRectMax();
        const ImVec2 beside(ImGui::GetWindowPos().x + ImGui::GetWindowSize().x + 4.0f, listStart.y);
        describe(browser.tooltip(), listStart, listEnd, &beside);
        ImGui::EndDisabled();
    }

    PanelFrameResult& result_;
    float displayHeight_;
};

}  // namespace

void drawPanelWindow(PanelWindow& window, float width, float displayHeight, bool strip, PanelFrameResult& result) {
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(width, displayHeight), ImGuiCond_Always);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoBringToFrontOnFocus;
    if (strip) {
        // The collapsed panel: a mark that it opens to the right.
        if (ImGui::Begin("##panelstrip", nullptr, flags | ImGuiWindowFlags_NoScrollbar)) {
            for (const char* mark : {">", "", "P", "a", "n", "e", "l"}) ImGui::TextUnformatted(mark);
        }
        ImGui::End();
        return;
    }
    if (ImGui::Begin("##controlpanel", nullptr, flags)) {
        Drawer(result, displayHeight).children(window);
        result.contentHeight = ImGui::GetCursorPosY();
        result.busy = result.busy || ImGui::IsAnyItemActive();
    }
    ImGui::End();
}
