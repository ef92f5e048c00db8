#include "panel/gl/PanelSpinnerWidget.h"

#include "panel/PanelSpinner.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

// Narrowest number field (with its step buttons) that still sits beside its label.
constexpr float minFieldWidth = 110.0f;
// Mouse travel per step while dragging a step button.
constexpr float pixelsPerStep = 4.0f;

// Text typed into a field, kept from frame to frame until the field is left.
std::map<const PanelSpinner*, std::string> editing;

// The step-button drag in progress; only one item is active at a time.
struct Drag {
    float pixels = 0.0f;
    bool moved = false;
};
Drag drag;

std::string shownValue(const PanelSpinner& spinner) {
    if (spinner.type() == SpinnerType::Int) {
        return std::to_string(spinner.get_int_val());
    }
    char text[64];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(spinner.get_float_val()));
    return text;
}

// Not a number: the field shows the old value again, and the model says why.
void commitText(PanelSpinner& spinner, const std::string& text, std::vector<std::function<void()>>& actions) {
    PanelSpinner* target = &spinner;
    actions.emplace_back([target, text] { target->userType(text); });
}

void numberField(PanelSpinner& spinner, float width, std::vector<std::function<void()>>& actions) {
    ImGui::SetNextItemWidth(width);
    auto found = editing.find(&spinner);
    std::string text = found != editing.end() ? found->second : shownValue(spinner);
    const ImGuiInputTextFlags flags = ImGuiInputTextFlags_AutoSelectAll | ImGuiInputTextFlags_CharsScientific;
    if (ImGui::InputText("##value", &text, flags)) {
        editing[&spinner] = text;
    }
    if (ImGui::IsItemDeactivatedAfterEdit()) {
        commitText(spinner, text, actions);
    }
    if (!ImGui::IsItemActive()) {
        editing.erase(&spinner);
    }
}

void stepButton(PanelSpinner& spinner, const char* label, int direction, float size,
                std::vector<std::function<void()>>& actions) {
    bool clicked = ImGui::Button(label, ImVec2(size, size));
    if (ImGui::IsItemActivated()) {
        drag = Drag();
    }
    PanelSpinner* target = &spinner;
    if (ImGui::IsItemActive() && ImGui::IsMouseDragging(ImGuiMouseButton_Left, pixelsPerStep)) {
        drag.moved = true;
        drag.pixels -= ImGui::GetIO().MouseDelta.y;
        int steps = static_cast<int>(drag.pixels / pixelsPerStep);
        if (steps != 0) {
            drag.pixels -= static_cast<float>(steps) * pixelsPerStep;
            actions.emplace_back([target, steps] { target->userStep(steps); });
        }
    }
    if (clicked && !drag.moved) {
        actions.emplace_back([target, direction] { target->userStep(direction); });
    }
}

}  // namespace

namespace {

// An int spinner with limits as a slider across the free width; every
// change of the dragged value calls back.
void drawSlider(PanelSpinner& spinner, std::vector<std::function<void()>>& actions) {
    ImGui::TextUnformatted(spinner.label().c_str());
    ImGui::SetNextItemWidth(-FLT_MIN);
    int value = spinner.get_int_val();
    const int low = static_cast<int>(spinner.lowLimit());
    const int high = static_cast<int>(spinner.highLimit());
    if (ImGui::SliderInt("##slider", &value, low, high, "%d", ImGuiSliderFlags_AlwaysClamp)) {
        PanelSpinner* target = &spinner;
        actions.emplace_back([target, value] { target->userSetInt(value); });
    }
}

}  // namespace

void drawSpinner(PanelSpinner& spinner, std::vector<std::function<void()>>& actions) {
    if (spinner.isSlider() && spinner.type() == SpinnerType::Int && spinner.hasLimits()) {
        drawSlider(spinner, actions);
        return;
    }
    const ImGuiStyle& style = ImGui::GetStyle();
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(spinner.label().c_str());
    float labelWidth = ImGui::GetItemRectSize().x + style.ItemSpacing.x;
    if (ImGui::GetContentRegionAvail().x - labelWidth >= minFieldWidth) {
        ImGui::SameLine();
    }
    float button = ImGui::GetFrameHeight();
    float field = ImGui::GetContentRegionAvail().x - 2.0f * (button + style.ItemInnerSpacing.x);
    ImGui::BeginGroup();
    numberField(spinner, field > 1.0f ? field : 1.0f, actions);
    ImGui::SameLine(0.0f, style.ItemInnerSpacing.x);
    stepButton(spinner, "-", -1, button, actions);
    ImGui::SameLine(0.0f, style.ItemInnerSpacing.x);
    stepButton(spinner, "+", 1, button, actions);
    ImGui::EndGroup();
}
