// Parameter prompts (menu or text entry by parameter kind) and what a
// committed text entry does to the parameter.
#include "tests/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct PromptFixture : ::testing::Test {
    PromptFixture() : surface(&plug, 100, 100)
    {
        surface.CreateBackBuffer();
        for (int p = 0; p < kNumTestParams; ++p) {
            controls[p] = new ProbeControl(&plug.log, "c", &plug, {10, 10, 40, 30}, p);
            surface.AddControl(controls[p]);
            controls[p]->SetValueFromHost(plug.GetParam(p)->ToNormalized());
        }
    }
    double Plain(int p) { return plug.GetParam(p)->Value(); }

    EditorTestPlugin plug;
    IEditorSurfaceHeadless surface;
    ProbeControl* controls[kNumTestParams] = {};
};

TEST_F(PromptFixture, ContinuousAndIntegerParametersGetATextEntry)
{
    controls[kTestLevel]->mStyle.size = 14;
    controls[kTestLevel]->PromptForValue({1, 2, 3, 4});
    ASSERT_EQ(surface.entries.size(), 1u);
    const auto& entry = surface.entries[0];
    EXPECT_EQ(entry.control, controls[kTestLevel]);
    EXPECT_EQ(entry.param, plug.GetParam(kTestLevel));
    EXPECT_EQ(entry.text, "5.00");
    EXPECT_EQ(entry.bounds, (IBounds{1, 2, 3, 4}));
    EXPECT_EQ(entry.style.size, 14);
    EXPECT_TRUE(controls[kTestLevel]->IsRedrawRequested());
    EXPECT_TRUE(surface.menus.empty());

    ASSERT_TRUE(surface.CommitTextEntry("7.25"));
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 7.25);
    EXPECT_FALSE(surface.CommitTextEntry("1"));  // closed after the commit

    // A second entry while one is open is refused; cancelling applies nothing.
    controls[kTestOffset]->PromptForValue({0, 0, 10, 10});
    controls[kTestLevel]->PromptForValue({0, 0, 10, 10});
    ASSERT_EQ(surface.entries.size(), 2u);
    EXPECT_EQ(surface.entries[1].text, "0");
    surface.CancelTextEntry();
    EXPECT_FALSE(surface.IsTextEntryOpen());
    EXPECT_EQ(Plain(kTestOffset), 0.0);
}

TEST_F(PromptFixture, ChoiceAndSwitchParametersGetAMenuOfTheirTexts)
{
    surface.AnswerNextMenu(2);
    controls[kTestMode]->PromptForValue({5, 6, 7, 8});
    ASSERT_EQ(surface.menus.size(), 1u);
    const auto& menu = surface.menus[0];
    EXPECT_EQ(menu.texts, (std::vector<std::string>{"Soft", "Medium", "Hard"}));
    EXPECT_EQ(menu.flags, (std::vector<int>{0, kMenuItemChecked, 0}));
    EXPECT_EQ(menu.bounds, (IBounds{5, 6, 7, 8}));
    EXPECT_EQ(Plain(kTestMode), 2.0);
    EXPECT_EQ(controls[kTestMode]->GetValue(), 1.0);
    EXPECT_TRUE(surface.entries.empty());

    // Dismissed: nothing changes.
    controls[kTestSwitch]->PromptForValue({0, 0, 1, 1});
    ASSERT_EQ(surface.menus.size(), 2u);
    EXPECT_EQ(surface.menus[1].flags, (std::vector<int>{kMenuItemChecked, 0}));
    EXPECT_EQ(Plain(kTestSwitch), 0.0);
    surface.AnswerNextMenu(1);
    controls[kTestSwitch]->PromptForValue({0, 0, 1, 1});
    EXPECT_EQ(Plain(kTestSwitch), 1.0);
}

TEST_F(PromptFixture, NoPromptWithoutParameterOrWhenDisabled)
{
    controls[kTestLevel]->mPromptDisabled = true;
    controls[kTestLevel]->PromptForValue({});
    ProbeControl unbound(&plug.log, "u", &plug, {0, 0, 1, 1});
    surface.AddControl(new ProbeControl(&plug.log, "far", &plug, {0, 0, 1, 1}, 77));
    surface.GetControl(surface.NControls() - 1)->PromptForValue({});
    surface.PromptForParamValue(controls[kTestMode], nullptr, {});
    surface.PromptForParamValue(nullptr, plug.GetParam(kTestMode), {});
    EXPECT_TRUE(surface.entries.empty());
    EXPECT_TRUE(surface.menus.empty());
}

TEST_F(PromptFixture, EnteredTextsAreParsedClampedAndNeverNaN)
{
    IControl* level = controls[kTestLevel];
    IFxParam* levelParam = plug.GetParam(kTestLevel);
    surface.ApplyTextEntry(level, levelParam, "  3.5 dB");   // longest numeric prefix
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 3.5);
    surface.ApplyTextEntry(level, levelParam, "loud");       // not a number: 0
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 0.0);
    surface.ApplyTextEntry(level, levelParam, "1e9");        // held to the range
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 10.0);
    EXPECT_EQ(level->GetValue(), 1.0);
    surface.ApplyTextEntry(level, levelParam, "-4");
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 0.0);
    surface.ApplyTextEntry(level, levelParam, "6");
    plug.sent.clear();
    for (const char* bad : {"nan", "-inf", "INFINITY", "1e999"})
        surface.ApplyTextEntry(level, levelParam, bad);
    EXPECT_TRUE(plug.sent.empty());
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 6.0);

    // Only 31 characters are read: the 32nd digit is not part of the number.
    surface.ApplyTextEntry(level, levelParam, "0.0000000000000000000000000000019");
    EXPECT_DOUBLE_EQ(Plain(kTestLevel), 0.0);

    // Shown negated: the typed value is negated back.
    surface.ApplyTextEntry(controls[kTestOffset], plug.GetParam(kTestOffset), "12");
    EXPECT_EQ(Plain(kTestOffset), -12.0);

    // Choices by text; an unknown text is value 0.
    surface.ApplyTextEntry(controls[kTestMode], plug.GetParam(kTestMode), "Hard");
    EXPECT_EQ(Plain(kTestMode), 2.0);
    surface.ApplyTextEntry(controls[kTestMode], plug.GetParam(kTestMode), "Loud");
    EXPECT_EQ(Plain(kTestMode), 0.0);

    // Without a parameter the control gets the text itself.
    struct TextSink : ProbeControl {
        using ProbeControl::ProbeControl;
        void SetTextFromEntry(const char* t) override { got = t; }
        std::string got;
    } sink(&plug.log, "s", &plug, {});
    surface.ApplyTextEntry(&sink, nullptr, "hello");
    EXPECT_EQ(sink.got, "hello");
    surface.ApplyTextEntry(nullptr, levelParam, "5");  // no control: nothing
}

TEST(EditorEntryFilter, CharactersByParameterKind)
{
    EditorTestPlugin plug;
    const IFxParam* level = plug.GetParam(kTestLevel);
    const IFxParam* offset = plug.GetParam(kTestOffset);
    EXPECT_TRUE(IEditorSurface::EntryAcceptsChar(level, '.'));
    EXPECT_FALSE(IEditorSurface::EntryAcceptsChar(offset, '.'));
    EXPECT_TRUE(IEditorSurface::EntryAcceptsChar(offset, '-'));
    EXPECT_TRUE(IEditorSurface::EntryAcceptsChar(offset, '\b'));
    EXPECT_FALSE(IEditorSurface::EntryAcceptsChar(level, 'e'));
    EXPECT_TRUE(IEditorSurface::EntryAcceptsChar(nullptr, 'e'));
}

TEST(EditorHeadless, WindowWebAndCursorRecords)
{
    EditorTestPlugin plug;
    IEditorSurfaceHeadless surface(&plug, 10, 10);
    auto* c = new ProbeControl(&plug.log, "c", &plug, {0, 0, 5, 5});
    surface.AddControl(c);
    c->MarkClean();
    EXPECT_FALSE(surface.IsWindowOpen());
    int parent = 0;
    EXPECT_TRUE(surface.OpenEditorWindow(&parent));
    EXPECT_TRUE(surface.IsWindowOpen());
    EXPECT_TRUE(c->IsMarkedDirty());  // a new window draws everything
    surface.CloseEditorWindow();
    EXPECT_FALSE(surface.IsWindowOpen());

    surface.SetMessageAnswer(kAnswerNo);
    EXPECT_FALSE(surface.OpenWebAddress("https://example.invalid/guide", "Guide", "Open?", nullptr));
    surface.SetMessageAnswer(kAnswerYes);
    surface.SetWebAnswer(false);
    EXPECT_FALSE(surface.OpenWebAddress("https://example.invalid/guide", "Guide", "Open?", "Failed"));
    EXPECT_EQ(surface.messages, (std::vector<std::string>{"Open?", "Open?", "Failed"}));
    ASSERT_EQ(surface.webRequests.size(), 2u);

    surface.HideCursor();
    surface.HideCursor();
    surface.RestoreCursor();
    surface.RestoreCursor();
    EXPECT_EQ(surface.cursorHides, 1);
    EXPECT_EQ(surface.cursorRestores, 1);
}

} // namespace
