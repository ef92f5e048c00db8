#include "app/CommandLine.h"
#include "app/CommandLineSettings.h"
#include "options/OptionsFile.h"
#include "panel/ControlPanel.h"
#include "render/Camera.h"
#include "settings/LiveVariables.h"
#include "settings/Settings.h"
#include "streamlines/StreamlineSet.h"
#include "tf/TransferFunctionSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <sstream>
#include <vector>

namespace {
std::vector<int> calls;
void record(int id) { calls.push_back(id); }

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quillmere");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetLiveVariables();
        calls.clear();
    }
    void TearDown() override { resetLiveVariables(); }
};
}  // namespace

TEST_F(SettingsTest, AppliedInPanelOrderThroughTheControlIds) {
    CommandLine cl = parse({"-dsep", "0.2", "-streamlineMode", "2", "-showStreamlines", "1", "-datafile", "x.gri"});
    EXPECT_EQ(applyCommandLineSettings(cl, record), 3);
    EXPECT_EQ(calls, (std::vector<int>{11, 16, 22}));
    EXPECT_EQ(showStreamlines, 1);
    EXPECT_EQ(streamlineMode, 2);
    EXPECT_FLOAT_EQ(dsep, 0.2f);
}

TEST_F(SettingsTest, ClampedToThePanelLimitsButStreamlineDistancesAreFree) {
    CommandLine cl = parse({"-arrowCountX", "0", "-arrowSize", "500", "-texturePeriod", "-3", "-dt", "9", "-stepSize",
                            "-1", "-dtest", "1e6"});
    applyCommandLineSettings(cl, record);
    EXPECT_EQ(arrowCountX, 2);
    EXPECT_FLOAT_EQ(arrowSize, 200.0f);
    EXPECT_EQ(texturePeriod, 1);
    EXPECT_FLOAT_EQ(stepSize, -1.0f);  // guarded by the streamline set, not here
    EXPECT_FLOAT_EQ(dtest, 1e6f);
}

TEST_F(SettingsTest, ValuesThatAreNotNumbersAreRefusedWithOneLine) {
    CommandLine cl = parse({"-dsep", "abc", "-seedPoints", "12abc", "-arrowSize", "nan", "-showArrowPlot", "1"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(applyCommandLineSettings(cl, record), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "Ignoring -arrowSize: 'nan' is not a number\n"
              "Ignoring -seedPoints: '12abc' is not a number\n"
              "Ignoring -dsep: 'abc' is not a number\n");
    EXPECT_FLOAT_EQ(dsep, 0.4f);
    EXPECT_EQ(seedPoints, 5);
    EXPECT_EQ(calls, std::vector<int>{10});
}

TEST_F(SettingsTest, UnitSpeedIsAppliedAfterTheMethodAndBeforeTheDistances) {
    EXPECT_EQ(unitSpeed, 0);
    CommandLine cl = parse({"-stepSize", "0.01", "-unitSpeed", "1", "-integrationMethod", "1"});
    EXPECT_EQ(applyCommandLineSettings(cl, record), 3);
    EXPECT_EQ(calls, (std::vector<int>{21, 28, 24}));
    EXPECT_EQ(unitSpeed, 1);
}

TEST_F(SettingsTest, UnitSpeedIsHeldToZeroOrOne) {
    applyCommandLineSettings(parse({"-unitSpeed", "7"}), record);
    EXPECT_EQ(unitSpeed, 1);
    applyCommandLineSettings(parse({"-unitSpeed", "-2"}), record);
    EXPECT_EQ(unitSpeed, 0);
    testing::internal::CaptureStderr();
    unitSpeed = 1;
    applyCommandLineSettings(parse({"-unitSpeed", "yes"}), record);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ignoring -unitSpeed: 'yes' is not a number\n");
    EXPECT_EQ(unitSpeed, 1);
    EXPECT_EQ(calls, (std::vector<int>{28, 28}));

    unitSpeed = 1;
    resetLiveVariables();
    EXPECT_EQ(unitSpeed, 0);
}

// The settings table drives every place a setting appears: each row's control
// in the panel, its command-line option and its options-file entry.
namespace {
PanelControl* controlWithId(PanelControl& parent, int id) {
    for (const auto& child : parent.children()) {
        if (child->id() == id) return child.get();
        if (PanelControl* found = controlWithId(*child, id)) return found;
    }
    return nullptr;
}

void openAll(PanelControl& parent) {
    for (const auto& child : parent.children()) {
        if (child->kind() == ControlKind::Rollout) static_cast<PanelRollout*>(child.get())->open();
        openAll(*child);
    }
}

// A value within the limits that differs from the start value.
double otherValue(const Setting& s) {
    if (!s.limited) return s.start * 2 + 1;
    return s.start < s.high ? s.high : s.low;
}

// What the live variable holds after storing v.
double stored(const Setting& s, double v) {
    return s.intValue ? std::round(v) : static_cast<double>(static_cast<float>(v));
}

std::string text(double v) {
    std::ostringstream out;
    out << std::setprecision(9) << v;
    return out.str();
}

// Sets the value through the control as a user would.
void operate(PanelControl& control, const Setting& s, double v) {
    switch (control.kind()) {
    case ControlKind::Checkbox: static_cast<PanelCheckbox&>(control).userToggle(); break;
    case ControlKind::RadioGroup: static_cast<PanelRadioGroup&>(control).userSelect(static_cast<int>(v)); break;
    case ControlKind::Spinner: {
        auto& spinner = static_cast<PanelSpinner&>(control);
        if (s.intValue) spinner.userSetInt(static_cast<int>(v));
        else spinner.userSetFloat(static_cast<float>(v));
        break;
    }
    default: ADD_FAILURE() << "a " << controlKindName(control.kind()) << " cannot hold a setting";
    }
}
}  // namespace

TEST_F(SettingsTest, EveryRowDrivesItsControlItsOptionAndItsOptionsFileEntry) {
    buildControlPanel(record);
    openAll(*controlPanel);
    controlPanel->enable();
    Camera camera;
    TransferFunctionSet tfs = createTransferFunctions(nullptr, 0, 2, nullptr);
    StreamlineSet lines(nullptr, 0, 1, 0.005f, 0.4f, 0.2f);
    OptionsFile options(&camera);
    options.attach(tfs.pointers(), &lines);
    const std::string path = testing::TempDir() + "settings_table.xml";

    for (const Setting& s : settings()) {
        SCOPED_TRACE(s.name);
        const double v = otherValue(s);
        resetLiveVariables();
        EXPECT_EQ(s.value(), stored(s, s.start));

        PanelControl* control = controlWithId(*controlPanel, s.controlId);
        ASSERT_NE(control, nullptr);
        calls.clear();
        operate(*control, s, v);
        EXPECT_EQ(s.value(), stored(s, v));
        EXPECT_EQ(calls, std::vector<int>{s.controlId});
        if (control->kind() == ControlKind::Spinner) {
            const auto& spinner = static_cast<const PanelSpinner&>(*control);
            EXPECT_EQ(spinner.hasLimits(), s.limited);
            if (s.limited) {
                EXPECT_EQ(spinner.lowLimit(), static_cast<float>(s.low));
                EXPECT_EQ(spinner.highLimit(), static_cast<float>(s.high));
            }
        }

        resetLiveVariables();
        calls.clear();
        EXPECT_EQ(applyCommandLineSettings(parse({("-" + std::string(s.name)).c_str(), text(v).c_str()}), record), 1);
        EXPECT_EQ(s.value(), stored(s, v));
        EXPECT_EQ(calls, std::vector<int>{s.controlId});
        if (s.limited) {
            applyCommandLineSettings(parse({("-" + std::string(s.name)).c_str(), text(s.high + 7).c_str()}), record);
            EXPECT_EQ(s.value(), stored(s, s.high));
        }

        s.set(v);
        ASSERT_TRUE(options.save(path));
        resetLiveVariables();
        testing::internal::CaptureStderr();
        EXPECT_TRUE(options.load(path));
        testing::internal::GetCapturedStderr();
        const bool inFile = s.file.form != FileForm::None;
        EXPECT_EQ(s.value(), stored(s, inFile ? v : s.start));
    }
    controlPanel.reset();
    std::remove(path.c_str());
}
