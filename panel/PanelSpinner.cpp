#include "panel/PanelSpinner.h"

#include "panel/PanelWindow.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Float to int without overflow: out-of-range values go to the nearest int.
int saturatedInt(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0f) {
        return std::numeric_limits<int>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

}  // namespace

PanelSpinner::PanelSpinner(std::string label, int* live, int id)
    : PanelControl(ControlKind::Spinner, std::move(label), id), type_(SpinnerType::Int), intLive_(live) {
    readLive();
}

PanelSpinner::PanelSpinner(std::string label, float* live, int id)
    : PanelControl(ControlKind::Spinner, std::move(label), id),
      type_(SpinnerType::Float),
      floatLive_(live),
      step_(0.01) {
    readLive();
}

int PanelSpinner::clampInt(int value) const {
    if (!hasLimits_) {
        return value;
    }
    if (value < intLow_) {
        return intLow_;
    }
    return value > intHigh_ ? intHigh_ : value;
}

float PanelSpinner::clampFloat(float value) const {
    if (!hasLimits_) {
        return value;
    }
    if (!(value >= low_)) {  // also maps NaN onto the bound
        return low_;
    }
    return value > high_ ? high_ : value;
}

int PanelSpinner::get_int_val() const { return type_ == SpinnerType::Int ? intValue_ : saturatedInt(floatValue_); }

float PanelSpinner::get_float_val() const {
    return type_ == SpinnerType::Float ? floatValue_ : static_cast<float>(intValue_);
}

void PanelSpinner::set_int_val(int value) {
    if (type_ == SpinnerType::Float) {
        set_float_val(static_cast<float>(value));
        return;
    }
    intValue_ = clampInt(value);
    if (intLive_ != nullptr) {
        *intLive_ = intValue_;
    }
}

void PanelSpinner::set_float_val(float value) {
    if (type_ == SpinnerType::Int) {
        set_int_val(saturatedInt(value));
        return;
    }
    floatValue_ = clampFloat(value);
    if (floatLive_ != nullptr) {
        *floatLive_ = floatValue_;
    }
}

void PanelSpinner::set_int_limits(int low, int high) {
    hasLimits_ = true;
    intLow_ = low;
    intHigh_ = high;
    low_ = static_cast<float>(low);
    high_ = static_cast<float>(high);
    if (type_ == SpinnerType::Int && clampInt(intValue_) != intValue_) {
        set_int_val(intValue_);
    }
}

void PanelSpinner::set_float_limits(float low, float high) {
    hasLimits_ = true;
    low_ = low;
    high_ = high;
    if (type_ == SpinnerType::Float && clampFloat(floatValue_) != floatValue_) {
        set_float_val(floatValue_);
    }
}

void PanelSpinner::setStepFactor(double factor, double restart) {
    stepFactor_ = factor;
    restart_ = restart;
}

std::string PanelSpinner::name() const {
    std::string name = label();
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) {
        name.pop_back();
    }
    return name;
}

void PanelSpinner::reportClamped(double typed, double set) const {
    if (stepping_ || window() == nullptr) {
        return;
    }
    char text[256];
    std::snprintf(text, sizeof text, "%s: %g is outside %g .. %g, set to %g", name().c_str(), typed,
                  static_cast<double>(low_), static_cast<double>(high_), set);
    window()->notify(false, text);
}

bool PanelSpinner::userType(const std::string& text) {
    double value = 0.0;
    if (!isEnabled()) {
        return false;
    }
    if (!parseSpinnerText(text, value)) {
        if (window() != nullptr) {
            window()->notify(true, name() + ": '" + text + "' is not a number");
        }
        return false;
    }
    return userSetFloat(static_cast<float>(value));
}

bool PanelSpinner::userSetInt(int value) {
    if (type_ == SpinnerType::Float) {
        return userSetFloat(static_cast<float>(value));
    }
    if (!isEnabled()) {
        return false;
    }
    int before = intValue_;
    set_int_val(value);
    if (intValue_ != value) {
        reportClamped(value, intValue_);
    }
    if (intValue_ != before) {
        reportChange();
    }
    return true;
}

bool PanelSpinner::userSetFloat(float value) {
    if (type_ == SpinnerType::Int) {
        if (!std::isfinite(value)) {
            return false;
        }
        return userSetInt(saturatedInt(std::round(value)));
    }
    if (!isEnabled() || !std::isfinite(value)) {
        return false;
    }
    float before = floatValue_;
    set_float_val(value);
    if (floatValue_ != value) {
        reportClamped(value, floatValue_);
    }
    if (floatValue_ != before) {
        reportChange();
    }
    return true;
}

bool PanelSpinner::userStep(int count) {
    stepping_ = true;
    const bool taken = stepBy(count);
    stepping_ = false;
    return taken;
}

bool PanelSpinner::stepBy(int count) {
    if (type_ == SpinnerType::Int) {
        double stepped = static_cast<double>(intValue_) + count * std::round(step_);
        if (stepped > std::numeric_limits<int>::max() || stepped < std::numeric_limits<int>::min()) {
            return false;
        }
        return userSetInt(static_cast<int>(stepped));
    }
    if (stepFactor_ > 1.0) {
        const double value = floatValue_;
        const float stepped = value > 0.0 && std::isfinite(value)
                                  ? static_cast<float>(value * std::pow(stepFactor_, count))
                                  : static_cast<float>(restart_);
        if (!(stepped > 0.0f)) {
            return false;  // a step down below the smallest float
        }
        return userSetFloat(stepped);
    }
    return userSetFloat(static_cast<float>(static_cast<double>(floatValue_) + count * step_));
}

void PanelSpinner::readLive() {
    if (intLive_ != nullptr) {
        intValue_ = *intLive_;
    }
    if (floatLive_ != nullptr) {
        floatValue_ = *floatLive_;
    }
}

bool parseSpinnerText(const std::string& text, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    double parsed = std::strtod(begin, &end);
    if (end == begin) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    if (*end != '\0' || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}
