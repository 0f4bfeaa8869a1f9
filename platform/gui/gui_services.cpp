#include "platform/gui/gui_services.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "platform/cursor.h"

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
    for (Answer a : answers) box.addButton(QtButton(a));
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

void InstallPlatformServices() {
    static QtMessages qtMessages;
    static StderrMessages stderrMessages;
    if (HasDisplay() && HasWidgetsApplication()) SetMessageService(&qtMessages);
    else SetMessageService(&stderrMessages);
    InstallPointerHandler(SetPointer);
    InstallEventPump(PumpEvents);
}

}  // namespace zv::gui
