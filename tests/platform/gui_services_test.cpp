#include "platform/gui/gui_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/cursor.h"
#include "tests/support/support.h"

namespace {

using namespace zv;

class GuiServicesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "platform_gui_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
    void TearDown() override {
        SetMessageService(nullptr);
        InstallPointerHandler(nullptr);
        InstallEventPump(nullptr);
    }
};

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Waits for the box to show, notes what it shows, then presses press (or
// closes it with Escape when press is NoButton).
void AnswerBoxWith(QMessageBox::StandardButton press, SeenBox& seen) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, press, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        if (press == QMessageBox::NoButton) box->reject();
        else box->button(press)->click();
    });
    timer->start(10);
}

TEST_F(GuiServicesTest, WithADisplayTheBoxIsAQtBoxAndAnswersTheButtonPressed) {
    zvtest::ScopedEnv display("WAYLAND_DISPLAY", "wayland-test"), mode("ZARVO_MSGBOX", "qt");
    gui::InstallPlatformServices();
    SeenBox seen;
    AnswerBoxWith(QMessageBox::No, seen);
    testing::internal::CaptureStderr();
    Answer a = MsgBox("¿Desea <b>salir</b>?\nsegunda", Icon::Question, Buttons::YesNoCancel, "Título", 2);
    // Qt's offscreen platform may log a line of its own; the box's block must not appear.
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("Título:"), std::string::npos);
    EXPECT_EQ(a, Answer::No);
    EXPECT_EQ(seen.title, QString("Título"));
    EXPECT_EQ(seen.text, QString("¿Desea <b>salir</b>?\nsegunda"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Cancel);
}

TEST_F(GuiServicesTest, ClosingTheBoxAnswersItsEscapeButton) {
    zvtest::ScopedEnv display("WAYLAND_DISPLAY", "wayland-test"), mode("ZARVO_MSGBOX", "qt");
    gui::InstallPlatformServices();
    SeenBox seen;
    AnswerBoxWith(QMessageBox::NoButton, seen);
    EXPECT_EQ(MsgBox("r", Icon::Warning, Buttons::RetryCancel, "t", 0), Answer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Retry);
}

TEST_F(GuiServicesTest, WithoutADisplayTheBoxGoesToStandardError) {
    zvtest::ScopedEnv display("WAYLAND_DISPLAY", "wayland-test"), mode("ZARVO_MSGBOX", "stderr");
    gui::InstallPlatformServices();
    testing::internal::CaptureStderr();
    EXPECT_EQ(MsgBox("texto", Icon::Critical, Buttons::OkCancel, "Error", 1), Answer::Cancel);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: texto\n\n");
}

TEST_F(GuiServicesTest, PointerUsesTheOverrideCursorAndDefaultRestoresIt) {
    gui::InstallPlatformServices();
    SetMousePointer(Pointer::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetMousePointer(Pointer::Hourglass);  // twice: still one level to undo
    SetMousePointer(Pointer::Arrow);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    SetMousePointer(Pointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    SetMousePointer(Pointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(GuiServicesTest, DoEventsRunsPendingEvents) {
    gui::InstallPlatformServices();
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    DoEvents();
    EXPECT_TRUE(ran);
}

}  // namespace
