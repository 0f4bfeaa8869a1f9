#pragma once
// The Qt side of the platform layers. Every program's main calls
// InstallPlatformServices() once, after creating its application object.
#include <QString>

#include "platform/msgbox.h"

namespace zv::gui {

// Shows a QMessageBox; falls back to standard error when there is no display
// or no QApplication (a windowless program run from a script).
class QtMessages : public MessageService {
public:
    Answer Show(const MessageRequest& request) override;
};

// Qt's own Spanish texts (qtbase_es.qm: a line edit's context menu, the
// standard dialogs) from `folder`, installed on the running application in
// place of the one installed before. False, and the texts kept as they
// were, when the file is not there.
bool LoadQtTranslation(const QString& folder);
// The folder of Qt's translations on this machine.
QString QtTranslationsFolder();

// Whether Qt has a windowing platform to start: one named by
// QT_QPA_PLATFORM, or a display the program can open. Without one Qt aborts
// at start with its own message, before any box of ours could be shown.
bool WindowingAvailable();
// Without a windowing platform, Qt's offscreen one: the program runs far
// enough to tell its messages on standard error.
void OffscreenWithoutDisplay();

// Picks the message service (Qt box when HasDisplay() and a QApplication
// exists, else standard error) and installs the mouse pointer and the event
// pump over the running Qt application, when there is one; makes
// LetraDeFormularios (letra.h) its letter, places its windows by their
// frames (marco.h) and loads Qt's Spanish texts from QtTranslationsFolder().
void InstallPlatformServices();

}  // namespace zv::gui
