#pragma once
// A form's controls found by name, for the tests that drive the real forms.
#include <QObject>
#include <QWidget>
#include <QtGlobal>

namespace zvdecl::prueba {

// A control of the form by its name; a test cannot go on without it.
template <class T = QWidget>
T* Control(const QObject& forma, const char* nombre) {
    T* control = forma.findChild<T*>(nombre);
    if (!control) qFatal("no control %s", nombre);
    return control;
}

}  // namespace zvdecl::prueba
