#pragma once
// The Qt side of the platform layers. Every program's main calls
// InstallPlatformServices() once, after creating its application object.
#include "platform/msgbox.h"

namespace zv::gui {

// Shows a QMessageBox; falls back to standard error when there is no display
// or no QApplication (a windowless program run from a script).
class QtMessages : public MessageService {
public:
    Answer Show(const MessageRequest& request) override;
};

// Picks the message service (Qt box when HasDisplay() and a QApplication
// exists, else standard error) and installs the mouse pointer and the event
// pump over the running Qt application, when there is one.
void InstallPlatformServices();

}  // namespace zv::gui
