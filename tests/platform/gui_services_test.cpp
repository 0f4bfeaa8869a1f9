#include "platform/gui/gui_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/cursor.h"
#include "platform/gui/letra.h"
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
    QStringList buttonTexts;  // in the order shown, without their "&"
    QFont font;               // the letter of the box's text
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
        for (auto* b : box->buttons()) seen.buttonTexts << b->text().remove('&');
        if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) seen.font = label->font();
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

// A program's boxes read in the letter of zvform's forms, whichever program
// shows them: every program starts its services here (the windowless ones
// through their application object), none has a letter of its own.
TEST_F(GuiServicesTest, TheBoxesReadInTheFormsLetter) {
    zvtest::ScopedEnv display("WAYLAND_DISPLAY", "wayland-test"), mode("ZARVO_MSGBOX", "qt");
    QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 12));  // the system's, say
    gui::InstallPlatformServices();
    SeenBox seen;
    AnswerBoxWith(QMessageBox::Ok, seen);
    MsgBox("Las casillas no cuadran con el detalle.", Icon::Critical, Buttons::Ok, "Solvenda");
    EXPECT_EQ(seen.font.pointSizeF(), 8.0);
    EXPECT_EQ(seen.font.families().value(0), QString("Liberation Sans"));
    EXPECT_EQ(seen.font, gui::LetraDeFormularios());
    EXPECT_EQ(QApplication::font(), gui::LetraDeFormularios());
}

// The buttons speak Spanish whether or not Qt's own translation is installed.
TEST_F(GuiServicesTest, TheButtonsReadInSpanish) {
    zvtest::ScopedEnv display("WAYLAND_DISPLAY", "wayland-test"), mode("ZARVO_MSGBOX", "qt");
    gui::InstallPlatformServices();
    struct Case {
        Buttons buttons;
        QMessageBox::StandardButton press;
        QStringList texts;
    };
    for (const Case& c : {Case{Buttons::YesNo, QMessageBox::Yes, {"Sí", "No"}},
                          Case{Buttons::YesNoCancel, QMessageBox::No, {"Sí", "No", "Cancelar"}},
                          Case{Buttons::OkCancel, QMessageBox::Ok, {"Aceptar", "Cancelar"}},
                          Case{Buttons::RetryCancel, QMessageBox::Retry, {"Reintentar", "Cancelar"}},
                          Case{Buttons::Ok, QMessageBox::Ok, {"Aceptar"}}}) {
        SeenBox seen;
        AnswerBoxWith(c.press, seen);
        MsgBox("texto", Icon::Question, c.buttons, "t");
        QStringList shown = seen.buttonTexts;
        shown.sort();
        QStringList expected = c.texts;
        expected.sort();
        EXPECT_EQ(shown, expected) << seen.buttonTexts.join(", ").toStdString();
    }
}

// Qt's own texts (a line edit's menu, the standard dialogs) come from its
// Spanish translation when the machine has it; without it Qt keeps its own.
TEST_F(GuiServicesTest, QtsOwnTextsAreSpanishWhenTheTranslationIsThere) {
    gui::InstallPlatformServices();
    const QString folder = gui::QtTranslationsFolder();
    if (!QFile::exists(folder + "/qtbase_es.qm")) GTEST_SKIP() << "no qtbase_es.qm in " << folder.toStdString();
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), QString("&Deshacer"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancelar"));
}

TEST_F(GuiServicesTest, AMissingTranslationFileIsNoFault) {
    zvtest::TempDir empty;
    const QString before = QCoreApplication::translate("QLineEdit", "&Undo");
    EXPECT_FALSE(gui::LoadQtTranslation(QString::fromStdString(empty.path().string())));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), before);  // whatever it had, it keeps
    gui::InstallPlatformServices();  // and the services go on
    EXPECT_EQ(MsgBox("t", Icon::None, Buttons::Ok), Answer::Ok);
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
