#include "platform/gui/gui_services.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QTranslator>

#include <cstdlib>
#include <memory>

#include "platform/cursor.h"
#include "platform/gui/letra.h"
#include "platform/gui/marco.h"

namespace zv::gui {

namespace {

QMessageBox::Icon QtIcon(Icon icon) {
    switch (icon) {
        case Icon::None: return QMessageBox::NoIcon;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Exclamation:
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Critical: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton QtButton(Answer a) {
    switch (a) {
        case Answer::Ok: return QMessageBox::Ok;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        case Answer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

// The buttons' own texts: Spanish whether or not Qt's translation is there.
QString ButtonText(Answer a) {
    switch (a) {
        case Answer::Ok: return "Aceptar";
        case Answer::Cancel: return "Cancelar";
        case Answer::Yes: return "&Sí";
        case Answer::No: return "&No";
        case Answer::Retry: return "&Reintentar";
    }
    return {};
}

bool HasWidgetsApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

void SetPointer(Pointer p) {
    static bool overriding = false;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (p == Pointer::Default) {
        if (overriding) QGuiApplication::restoreOverrideCursor();
        overriding = false;
        return;
    }
    QCursor cursor(p == Pointer::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    if (overriding) QGuiApplication::changeOverrideCursor(cursor);
    else QGuiApplication::setOverrideCursor(cursor);
    overriding = true;
}

void PumpEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace

Answer QtMessages::Show(const MessageRequest& request) {
    if (!HasDisplay() || !HasWidgetsApplication()) return StderrMessages().Show(request);
    QMessageBox box(QtIcon(request.icon), QString::fromStdString(request.title),
                    QString::fromStdString(request.text));
    box.setTextFormat(Qt::PlainText);  // texts may hold "<" and are never markup
    auto answers = ButtonsOf(request.buttons);
    for (Answer a : answers) box.addButton(QtButton(a))->setText(ButtonText(a));
    box.setDefaultButton(QtButton(DefaultAnswer(request)));
    // The pointer may be an hourglass from the loop that raised the box.
    bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    int chosen = box.exec();
    if (busy) QGuiApplication::restoreOverrideCursor();
    for (Answer a : answers)
        if (chosen == QtButton(a)) return a;
    // Closed without a button (Escape or the title bar): the escape answer.
    for (Answer a : answers)
        if (a == Answer::Cancel || a == Answer::No) return a;
    return answers.front();
}

bool LoadQtTranslation(const QString& folder) {
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    // At most one of ours at a time, owned by the application (the pointer
    // clears itself when the application goes).
    static QPointer<QTranslator> installed;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Spanish), "qtbase", "_", folder)) return false;
    if (installed) delete installed.data();  // the one loaded before gives way
    translator->setParent(app);
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

bool WindowingAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return (platform && *platform) || DisplayReachable();
}

void OffscreenWithoutDisplay() {
    if (!WindowingAvailable()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

void InstallPlatformServices() {
    FijaLetraDeFormularios();
    PlaceWindowsByTheirFrame();
    LoadQtTranslation(QtTranslationsFolder());
    static QtMessages qtMessages;
    static StderrMessages stderrMessages;
    if (HasDisplay() && HasWidgetsApplication()) SetMessageService(&qtMessages);
    else SetMessageService(&stderrMessages);
    InstallPointerHandler(SetPointer);
    InstallEventPump(PumpEvents);
}

}  // namespace zv::gui
