#pragma once
// The preview road of a reading run: every drawing record goes to the page
// picture of its page, kept as a list of drawing records (drawn when the page
// is shown), never as a bitmap, so that a long report costs the memory of its
// records only.
//
// Without a range, page 0 is picture 0 and every other page gets the next
// picture when its number first occurs; a page number that skips ahead gets
// the next picture too (no blank pictures are made for the numbers missing).
// With a range, only the pages in it are kept, on consecutive pictures from
// picture 0. A negative page number is left out.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formulario/reports/lector_spool.h"
#include "formulario/reports/rango_paginas.h"
#include "formulario/reports/trazo_spool.h"

namespace zvform {

// One page picture: its records, their texts and its background colour.
struct PaginaPrevia {
    std::vector<Trazo> trazos;
    std::string textos;  // UTF-8, one after the other
    std::uint32_t color = kColorVentana;

    std::string_view TextoDe(const Trazo& t) const { return std::string_view(textos).substr(t.inicio, t.largo); }
    void Agrega(const LineaSpool& linea);
};

class PaginasPrevias {
public:
    explicit PaginasPrevias(RangoPaginas rango = {});

    // One line of the file, in preview mode.
    void Toma(const LineaSpool& linea);

    // The pictures; there is always picture 0 (empty for an empty file).
    const std::vector<PaginaPrevia>& Paginas() const { return paginas_; }
    // Hands the pictures over, their room trimmed to what they hold.
    std::vector<PaginaPrevia> Suelta();
    // The highest page number seen since the start or the last page count tag.
    int iNroHoja() const { return iNroHoja_; }

private:
    // The picture of page `hoja`, made when the page first occurs; -1 when
    // the record is left out.
    int ImagenDe(int hoja);

    RangoPaginas rango_;
    std::vector<PaginaPrevia> paginas_;
    std::vector<int> imagenDeHoja_;   // by page number; -1 none yet
    bool conColor_ = false;
    std::uint32_t color_ = kColorVentana;  // the last colour tag read
    int iNroHoja_ = 0;
    bool algunaTomada_ = false;  // a page of the range has been kept
};

}  // namespace zvform
