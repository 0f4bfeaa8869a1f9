#pragma once
// What a form's controls cut of their texts, measured in each control's own
// letter: labels, buttons, option buttons, frames and tabs. A test asserts
// that the list is empty.
#include <QStringList>

class QWidget;

namespace zvtest {

// One line per control that cuts its text: its name and the text. Controls
// hidden in the form are left out; the pages of a tab control all count, the
// current one or not.
QStringList TextosCortados(const QWidget& formulario);

}  // namespace zvtest
