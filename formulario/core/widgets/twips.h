#pragma once
// Form layouts are given in twips, 1440 to the inch. One routine turns them
// into pixels at the screen's logical resolution, so every form keeps its
// proportions on any screen. The layouts were drawn for an 8-point sans serif
// letter on a 96-dpi screen.
#include <QRect>

class QWidget;

namespace zvform {

inline constexpr double kTwipsPorPulgada = 1440.0;

// Twips to pixels at `puntosPorPulgada`, rounded to the nearest pixel.
int TwipsAPixeles(int twips, double puntosPorPulgada);

// Twips to pixels at the resolution of the screen the widget is on (the
// primary screen when it is on none yet, 96 without a screen), across or down.
int TwipsX(int twips, const QWidget* widget = nullptr);
int TwipsY(int twips, const QWidget* widget = nullptr);

// A rectangle given as left, top, width and height in twips.
QRect RectTwips(int izquierda, int arriba, int ancho, int alto, const QWidget* widget = nullptr);

// Places the widget at left, top, width and height in twips of its parent.
void UbicaTwips(QWidget& widget, int izquierda, int arriba, int ancho, int alto);

// The forms' letter is the programs' one (platform/gui/letra.h): every
// program that links these layouts (zvform and the tests of its forms, on a
// display or offscreen) gets it when its application object starts, so the
// texts fit the places the layouts give them.

}  // namespace zvform
