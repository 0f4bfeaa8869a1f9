#include "platform/msgbox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/cursor.h"
#include "tests/support/support.h"

namespace {

using namespace zv;

TEST(StderrMessages, WritesTitleTextAndABlankLineThenAnswersTheDefault) {
    SetMessageService(nullptr);
    testing::internal::CaptureStderr();
    Answer a = MsgBox("Debe ejecutar este módulo\ndesde el Ensamblor", Icon::Critical, Buttons::YesNo,
                      "Error al ejecutar", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error al ejecutar: Debe ejecutar este módulo\ndesde el Ensamblor\n\n");
    EXPECT_EQ(a, Answer::No);

    testing::internal::CaptureStderr();
    EXPECT_EQ(MsgBox("sin título"), Answer::Ok);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), ": sin título\n\n");
}

TEST(DefaultAnswer, IsTheDefaultButtonOrTheFirst) {
    struct Case { Buttons buttons; int def; Answer answer; };
    const Case cases[] = {
        {Buttons::Ok, 0, Answer::Ok},          {Buttons::OkCancel, 1, Answer::Cancel},
        {Buttons::YesNo, 0, Answer::Yes},      {Buttons::YesNo, 1, Answer::No},
        {Buttons::YesNoCancel, 2, Answer::Cancel}, {Buttons::RetryCancel, 0, Answer::Retry},
        {Buttons::RetryCancel, 1, Answer::Cancel}, {Buttons::OkCancel, 5, Answer::Ok},
        {Buttons::YesNo, -1, Answer::Yes},
    };
    for (const auto& c : cases) {
        MessageRequest r;
        r.buttons = c.buttons;
        r.defaultButton = c.def;
        EXPECT_EQ(DefaultAnswer(r), c.answer) << static_cast<int>(c.buttons) << " " << c.def;
    }
}

TEST(ScriptedMessages, AnswersFromTheQueueThenTheDefaultAndRecordsEveryBox) {
    ScriptedMessages scripted;
    scripted.Push(Answer::Retry);
    SetMessageService(&scripted);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MsgBox("uno", Icon::Warning, Buttons::RetryCancel, "T1", 1), Answer::Retry);
    EXPECT_EQ(MsgBox("dos", Icon::Question, Buttons::YesNoCancel, "T2", 2), Answer::Cancel);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    SetMessageService(nullptr);
    ASSERT_EQ(scripted.shown.size(), 2u);
    EXPECT_EQ(scripted.shown[0].text, "uno");
    EXPECT_EQ(scripted.shown[0].icon, Icon::Warning);
    EXPECT_EQ(scripted.shown[1].title, "T2");
    EXPECT_EQ(scripted.shown[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(scripted.shown[1].defaultButton, 2);
}

TEST(HasDisplay, NeedsADisplayThatAnswersAndNoStderrMode) {
    // A DISPLAY whose X server answers is tested under Xvfb (window_search_test).
    struct Case { const char* display; const char* wayland; const char* mode; bool has; };
    const Case cases[] = {
        {"", "wayland-0", "", true},      {"", "", "", false},
        {":987", "", "", false},           // names no running server
        {"", "wayland-0", "stderr", false}, {"", "wayland-0", "qt", true},
    };
    for (const auto& c : cases) {
        zvtest::ScopedEnv d("DISPLAY", c.display), w("WAYLAND_DISPLAY", c.wayland), m("ZARVO_MSGBOX", c.mode);
        EXPECT_EQ(HasDisplay(), c.has) << c.display << "|" << c.wayland << "|" << c.mode;
    }
}

TEST(Pointer, CallsTheInstalledHandlersAndIsSilentWithout) {
    InstallPointerHandler(nullptr);
    InstallEventPump(nullptr);
    SetMousePointer(Pointer::Hourglass);  // nothing installed: no effect, no crash
    DoEvents();
    std::vector<Pointer> seen;
    int pumps = 0;
    InstallPointerHandler([&](Pointer p) { seen.push_back(p); });
    InstallEventPump([&] { ++pumps; });
    SetMousePointer(Pointer::Hourglass);
    DoEvents();
    SetMousePointer(Pointer::Default);
    InstallPointerHandler(nullptr);
    InstallEventPump(nullptr);
    EXPECT_EQ(seen, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Default}));
    EXPECT_EQ(pumps, 1);
}

}  // namespace
