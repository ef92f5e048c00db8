#pragma once

#include "panel/PanelControl.h"

#include <string>

enum class SpinnerType { Int = 2, Float = 3 };

// Reads a number typed into a spinner: one finite number, blanks around it
// allowed; false for anything else.
bool parseSpinnerText(const std::string& text, double& value);

// A number field with step buttons, bound to an int or a float live
// variable. With limits set, every value (typed, stepped or set by the
// program) is clamped to the inclusive range; without limits any finite
// value is taken.
class PanelSpinner : public PanelControl {
public:
    PanelSpinner(std::string label, int* live, int id);
    PanelSpinner(std::string label, float* live, int id);

    SpinnerType type() const { return type_; }

    int get_int_val() const;
    float get_float_val() const;
    // Programmatic changes: clamp, write the live variable, no callback.
    void set_int_val(int value);
    void set_float_val(float value);

    void set_int_limits(int low, int high);
    void set_float_limits(float low, float high);
    bool hasLimits() const { return hasLimits_; }
    float lowLimit() const { return low_; }
    float highLimit() const { return high_; }

    // Drawn as a slider between the limits instead of a number field with
    // step buttons; the value works the same.
    bool isSlider() const { return slider_; }
    void showAsSlider(bool on = true) { slider_ = on; }

    // Amount one press of a step button adds (1 for int spinners).
    double step() const { return step_; }
    void setStep(double step) { step_ = step; }
    // Float spinners whose value is a size (a length, a time step): a step
    // multiplies the value by `factor` (above 1) or divides it, so it keeps
    // its proportion to the value and never reaches zero. A value that is not
    // positive steps to `restart`.
    void setStepFactor(double factor, double restart);

    // Typed or dragged values: clamp, write the live variable and call back
    // when the value changes. Refused while disabled; non-finite floats are
    // refused too. A value outside the limits is reported to the window's
    // notice handler with the value it was set to.
    bool userSetInt(int value);
    bool userSetFloat(float value);
    // Step buttons: `count` steps up (positive) or down (negative).
    bool userStep(int count);
    // Text typed into the field: a number is taken as userSetFloat takes
    // it; anything else is refused with a notice to the window.
    bool userType(const std::string& text);

protected:
    void readLive() override;

private:
    int clampInt(int value) const;
    float clampFloat(float value) const;
    // The label without a trailing colon, for notices.
    std::string name() const;
    void reportClamped(double typed, double set) const;
    bool stepBy(int count);

    SpinnerType type_;
    int* intLive_ = nullptr;
    float* floatLive_ = nullptr;
    int intValue_ = 0;
    float floatValue_ = 0.0f;
    bool hasLimits_ = false;
    int intLow_ = 0;
    int intHigh_ = 0;
    float low_ = 0.0f;
    float high_ = 0.0f;
    double step_ = 1.0;
    bool slider_ = false;
    double stepFactor_ = 0.0;  // 0: steps add step_
    double restart_ = 0.0;
    bool stepping_ = false;  // a step that meets a limit stops there without a word
};
