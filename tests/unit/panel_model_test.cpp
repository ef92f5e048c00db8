// The control tree's own rules: enabling through expanded containers only,
// clamping, callbacks for user changes only, re-reading live variables.
#include "panel/PanelWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

std::vector<int> reported;
void record(int id) { reported.push_back(id); }

class PanelModel : public ::testing::Test {
protected:
    void SetUp() override { reported.clear(); }
    PanelWindow window{record};
};

TEST_F(PanelModel, DisableReachesNestedControlsThroughExpandedContainersOnly) {
    int a = 0;
    int b = 0;
    PanelRollout* outer = window.add_rollout("Outer", true, PanelStyle::Embossed);
    PanelGroup* inner = window.add_panel_to_panel(outer, "Inner", PanelStyle::Embossed);
    PanelCheckbox* deep = window.add_checkbox_to_panel(inner, "deep", &a, 1);
    PanelRollout* closed = window.add_rollout("Closed", false, PanelStyle::Embossed);
    PanelCheckbox* hidden = window.add_checkbox_to_panel(closed, "hidden", &b, 2);

    window.disable();
    EXPECT_FALSE(outer->isEnabled());
    EXPECT_FALSE(inner->isEnabled());
    EXPECT_FALSE(deep->isEnabled());
    EXPECT_FALSE(closed->isEnabled());
    EXPECT_TRUE(hidden->isEnabled()) << "a collapsed rollout's children are left as they are";

    outer->close();
    outer->enable();
    EXPECT_TRUE(outer->isEnabled());
    EXPECT_FALSE(inner->isEnabled());
    EXPECT_FALSE(deep->isEnabled());

    inner->enable();  // a panel inside a collapsed rollout can still be reached directly
    EXPECT_TRUE(deep->isEnabled());

    outer->open();
    outer->disable();
    EXPECT_FALSE(deep->isEnabled());
}

TEST_F(PanelModel, RadioGroupStateReachesItsButtonsAndGatesSelection) {
    int choice = 0;
    PanelRadioGroup* group = window.add_radiogroup_to_panel(&window, &choice, 12);
    window.add_radiobutton_to_group(group, "zero");
    PanelRadioButton* one = window.add_radiobutton_to_group(group, "one");
    window.add_radiobutton_to_group(group, "two");

    one->disable();
    EXPECT_FALSE(group->userSelect(1));
    EXPECT_TRUE(group->userSelect(2));
    EXPECT_EQ(choice, 2);
    EXPECT_EQ(reported, std::vector<int>{12});

    EXPECT_TRUE(group->userSelect(2));  // choosing the current button again changes nothing
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_FALSE(group->userSelect(3));

    group->disable();
    EXPECT_FALSE(group->button(0)->isEnabled());
    EXPECT_FALSE(group->userSelect(0));
    group->enable();
    EXPECT_TRUE(one->isEnabled());
    EXPECT_TRUE(group->userSelect(0));
    EXPECT_EQ(choice, 0);
}

TEST_F(PanelModel, UserChangesCallBackAndProgrammaticChangesDoNot) {
    int ticked = 0;
    int count = 5;
    PanelCheckbox* box = window.add_checkbox_to_panel(&window, "box", &ticked, 10);
    PanelSpinner* spinner = window.add_spinner_to_panel(&window, "count", &count, 7);
    PanelButton* button = window.add_button("press", 6);
    PanelStaticText* text = window.add_statictext("help");

    box->set_int_val(1);
    spinner->set_int_val(9);
    EXPECT_EQ(ticked, 1);
    EXPECT_EQ(count, 9);
    EXPECT_TRUE(reported.empty());

    EXPECT_TRUE(box->userToggle());
    EXPECT_TRUE(spinner->userSetInt(11));
    EXPECT_TRUE(spinner->userSetInt(11));  // unchanged value: no second report
    EXPECT_TRUE(button->userPress());
    EXPECT_EQ(ticked, 0);
    EXPECT_EQ(count, 11);
    EXPECT_EQ(reported, (std::vector<int>{10, 7, 6}));
    EXPECT_EQ(text->id(), PanelControl::noId);

    window.disable();
    EXPECT_FALSE(box->userToggle());
    EXPECT_FALSE(spinner->userSetInt(3));
    EXPECT_FALSE(button->userPress());
    EXPECT_EQ(ticked, 0);
    EXPECT_EQ(count, 11);
    EXPECT_EQ(reported.size(), 3u);
}

TEST_F(PanelModel, SpinnersClampTypedSteppedAndProgrammaticValues) {
    int count = 10;
    float size = 40.0f;
    float free = 0.4f;
    PanelSpinner* ints = window.add_spinner_to_panel(&window, "ints", &count, 1);
    PanelSpinner* floats = window.add_spinner_to_panel(&window, "floats", &size, 2);
    PanelSpinner* unbounded = window.add_spinner_to_panel(&window, "free", &free, 3);
    ints->set_int_limits(2, 200);
    floats->set_float_limits(0.1f, 200.0f);

    ints->userSetInt(-5);
    EXPECT_EQ(count, 2);
    ints->userStep(-1);
    EXPECT_EQ(count, 2);
    ints->set_int_val(1000);
    EXPECT_EQ(count, 200);
    EXPECT_EQ(ints->get_int_val(), 200);

    floats->userSetFloat(0.0f);
    EXPECT_FLOAT_EQ(size, 0.1f);
    floats->setStep(1.0);
    floats->set_float_val(199.5f);
    floats->userStep(1);
    EXPECT_FLOAT_EQ(size, 200.0f);
    floats->set_float_val(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(size, 0.1f);

    unbounded->userSetFloat(-3.5f);
    EXPECT_FLOAT_EQ(free, -3.5f);
    unbounded->userSetFloat(1e9f);
    EXPECT_FLOAT_EQ(free, 1e9f);
    EXPECT_FALSE(unbounded->userSetFloat(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(unbounded->userSetFloat(std::nanf("")));
    EXPECT_FLOAT_EQ(free, 1e9f);
}

TEST(SpinnerText, OnlyOneFiniteNumberIsTaken) {
    double value = -1.0;
    EXPECT_TRUE(parseSpinnerText(" 0.25 ", value));
    EXPECT_DOUBLE_EQ(value, 0.25);
    EXPECT_TRUE(parseSpinnerText("-3e2", value));
    EXPECT_DOUBLE_EQ(value, -300.0);
    for (const char* bad : {"", " ", "-", "1.5x", "1 2", "1e999", "nan", "inf"}) {
        value = 7.0;
        EXPECT_FALSE(parseSpinnerText(bad, value)) << bad;
        EXPECT_DOUBLE_EQ(value, 7.0) << bad;
    }
}

TEST_F(PanelModel, IntSpinnersRoundTypedFractions) {
    int count = 5;
    PanelSpinner* spinner = window.add_spinner_to_panel(&window, "count", &count, 19);
    spinner->set_int_limits(0, 100);
    EXPECT_TRUE(spinner->userSetFloat(2.6f));
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(spinner->userSetFloat(1e20f));
    EXPECT_EQ(count, 100);
}

TEST_F(PanelModel, LimitsSetAfterTheValueClampItAtOnce) {
    int count = 0;
    PanelSpinner* spinner = window.add_spinner_to_panel(&window, "count", &count, 1);
    spinner->set_int_limits(2, 200);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(spinner->get_int_val(), 2);
}

TEST_F(PanelModel, SyncLiveRereadsEveryControlIncludingCollapsedOnes) {
    int ticked = 0;
    int choice = 0;
    float width = 0.1f;
    PanelRollout* closed = window.add_rollout("Closed", false, PanelStyle::Embossed);
    PanelCheckbox* box = window.add_checkbox_to_panel(closed, "box", &ticked, 1);
    PanelRadioGroup* group = window.add_radiogroup_to_panel(closed, &choice, 2);
    window.add_radiobutton_to_group(group, "a");
    window.add_radiobutton_to_group(group, "b");
    PanelSpinner* spinner = window.add_spinner_to_panel(closed, "width", &width, 3);

    ticked = 1;
    choice = 1;
    width = 0.3f;
    EXPECT_EQ(box->get_int_val(), 0);
    window.sync_live();
    EXPECT_EQ(box->get_int_val(), 1);
    EXPECT_EQ(group->get_int_val(), 1);
    EXPECT_FLOAT_EQ(spinner->get_float_val(), 0.3f);
    EXPECT_TRUE(reported.empty());
}

TEST_F(PanelModel, RolloutHeadersAndTextFieldsFollowTheEnabledState) {
    PanelRollout* rollout = window.add_rollout("Save", true, PanelStyle::Embossed);
    PanelEditText* field = window.add_edittext_to_panel(rollout, "Filename: ", 5);
    field->set_text("options.xml");

    EXPECT_TRUE(field->userEdit("mine.xml"));
    EXPECT_EQ(field->get_text(), "mine.xml");
    EXPECT_TRUE(reported.empty()) << "typing alone does not call back";
    EXPECT_TRUE(field->userCommit());
    EXPECT_EQ(reported, std::vector<int>{5});

    EXPECT_TRUE(rollout->userSetOpen(false));
    EXPECT_FALSE(rollout->isOpen());
    rollout->disable();
    EXPECT_FALSE(rollout->userSetOpen(true));
    EXPECT_FALSE(rollout->isOpen());
    EXPECT_TRUE(field->isEnabled()) << "closed before the disable, so not reached";
}

TEST_F(PanelModel, ViewportAreaIsTheWindowRightOfThePanel) {
    ViewportArea area = window.viewportArea(1024, 700);
    EXPECT_EQ(area.x, PanelWindow::defaultWidth);
    EXPECT_EQ(area.y, 0);
    EXPECT_EQ(area.w, 1024 - PanelWindow::defaultWidth);
    EXPECT_EQ(area.h, 700);

    ViewportArea narrow = window.viewportArea(100, -4);
    EXPECT_EQ(narrow.x, 100);
    EXPECT_EQ(narrow.w, 0);
    EXPECT_EQ(narrow.h, 0);
}

}  // namespace
