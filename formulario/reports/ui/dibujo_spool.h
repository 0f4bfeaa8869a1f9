#pragma once
// The one drawing code of spool records, for the preview's page pictures and
// for the printer: twips become device pixels at the device's own resolution
// (the screen's logical one, the printer's), fonts keep their size in points.
#include <QColor>
#include <QFont>
#include <cstdint>
#include <string_view>
#include <vector>

#include "formulario/reports/paginas_previas.h"
#include "formulario/reports/trazo_spool.h"

class QPainter;

namespace zvform::ui {

// A page's background: a colour &H00BBGGRR, or a system colour (the window
// background for &H80000005).
QColor ColorDeFondo(std::uint32_t color);

class DibujoSpool {
public:
    // `puntosX` and `puntosY`: the device's resolution in dots per inch.
    DibujoSpool(QPainter& painter, double puntosX, double puntosY);

    // Text with its top left corner at (x, y), in Courier New.
    void pPos(int x, int y, std::string_view texto, bool negrita, int tamano);
    // One character under the other, 190 twips apart.
    void pPosVerti(int x, int y, std::string_view texto, bool negrita, int tamano);
    // Four rules of one pixel between the corners.
    void pCuadro(int x1, int y1, int x2, int y2);

    void Dibuja(const Trazo& trazo, std::string_view texto);
    void DibujaPagina(const PaginaPrevia& pagina);

private:
    struct Fuente {
        int tamano;
        bool negrita;
        QFont fuente;
        double ascenso;  // device pixels from a text's top to its base line
    };
    const Fuente& FuenteDe(int tamano, bool negrita);
    double X(int twips) const;
    double Y(int twips) const;

    QPainter& painter_;
    double puntosX_, puntosY_;
    std::vector<Fuente> fuentes_;
    const Fuente* actual_ = nullptr;
};

}  // namespace zvform::ui
