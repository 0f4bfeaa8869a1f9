#pragma once
// The printer road of a reading run: each drawing record goes to the printer
// unless a page range leaves its page out; page breaks and orientation tags
// drive the printer's pages.
//
// A page break waits for the next record drawn: a break that no drawing
// follows (the one after the last page of a range, or before the first
// record) makes no sheet, so no document ends with a blank sheet.
#include <string>
#include <string_view>

#include "formulario/reports/lector_spool.h"
#include "formulario/reports/rango_paginas.h"
#include "formulario/reports/trazo_spool.h"

namespace zvform {

// What the printer road needs from a printer. The document begins with the
// first record drawn.
class ImpresoraSpool {
public:
    virtual ~ImpresoraSpool() = default;
    // 1 portrait, 2 landscape: for the pages that begin from now on.
    virtual void Orientacion(int orientacion) = 0;
    // False when the printer cannot go on (the document could not begin).
    virtual bool NuevaPagina() = 0;
    virtual bool Dibuja(const Trazo& trazo, std::string_view texto) = 0;
    // Sends the document (when one began).
    virtual void FinDocumento() = 0;
};

inline constexpr int kVertical = 1;
inline constexpr int kHorizontal = 2;

class ImpresionSpool {
public:
    ImpresionSpool(ImpresoraSpool& impresora, RangoPaginas rango = {});

    // One line of the file, in print mode.
    void Toma(const LineaSpool& linea);
    // The end of the file: ends the document and puts the printer back to portrait.
    void Fin();

    // The printer failed; nothing more was sent to it.
    bool Fallo() const { return fallo_; }
    // Sheets begun so far.
    int Hojas() const { return hojas_; }
    // The value of the last orientation tag read.
    const std::string& Orientacion() const { return orientacion_; }

private:
    void Dibuja(const LineaSpool& linea);

    ImpresoraSpool& impresora_;
    RangoPaginas rango_;
    std::string orientacion_;
    int hojaUltimoRegistro_ = 0;  // page field of the last drawing record read
    int saltosPendientes_ = 0;    // page breaks waiting for a drawing
    int hojas_ = 0;
    bool fallo_ = false;
};

}  // namespace zvform
