#include "panel/gl/PanelWidgets.h"

#include "panel/PanelWindow.h"
#include "panel/gl/PanelSpinnerWidget.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <cfloat>
#include <utility>
#include <string>

namespace {

// File-browser list height in text lines.
constexpr float fileListLines = 8.0f;

class Drawer {
public:
    explicit Drawer(PanelFrameResult& result) : result_(result) {}

    void children(PanelControl& control) {
        for (const auto& child : control.children()) {
            draw(*child);
        }
    }

private:
    void draw(PanelControl& control) {
        if (!control.isShown()) return;
        ImGui::PushID(&control);
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
        ImGui::PopID();
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
            ImGui::BeginDisabled(!group.isEnabled() || !choice->isEnabled());
            if (ImGui::RadioButton(choice->label().c_str(), group.get_int_val() == choice->index())) {
                PanelRadioGroup* target = &group;
                int index = choice->index();
                act([target, index] { target->userSelect(index); });
            }
            ImGui::EndDisabled();
            remember(*choice);
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

    // One click enters a folder or picks a file.
    void fileBrowser(PanelFileBrowser& browser) {
        ImGui::BeginDisabled(!browser.isEnabled());
        result_.fileEntryRects.clear();
        ImVec2 size(-FLT_MIN, fileListLines * ImGui::GetTextLineHeightWithSpacing());
        if (ImGui::BeginListBox("##files", size)) {
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
        ImGui::EndDisabled();
    }

    PanelFrameResult& result_;
};

}  // namespace

void drawPanelWindow(PanelWindow& window, float displayHeight, PanelFrameResult& result) {
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(static_cast<float>(window.width()), displayHeight), ImGuiCond_Always);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoBringToFrontOnFocus;
    if (ImGui::Begin("##controlpanel", nullptr, flags)) {
        Drawer(result).children(window);
        result.contentHeight = ImGui::GetCursorPosY();
    }
    ImGui::End();
}
