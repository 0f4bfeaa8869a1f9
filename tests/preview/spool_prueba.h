#pragma once
// Spool files for the preview's tests, written through the writers' own line
// writer: `paginas` pages, each with a heading "PAGINA n" (1-based), a text
// ending in a blank and a box, "pNuevaHoja" between pages.
#include <filesystem>
#include <string>
#include <vector>

namespace zvpreview::prueba {

namespace fs = std::filesystem;

struct Opciones {
    bool hojasPrimero = false;           // the page count tag first (else last)
    bool conColor = true;
    std::string color = "&H00FFFFC0&";
    int horizontalDesde = -1;            // 0-based page from which pages are landscape (-1 none)
    bool saltoFinal = false;             // a page break after the last page
};

void EscribeReporte(const fs::path& archivo, int paginas, const Opciones& opciones = {});

// The heading text of page `n` (1-based).
std::string Encabezado(int n);

// The golden files of the report writers' tests (tests/reports/golden).
fs::path Referencia(const std::string& nombre);

}  // namespace zvpreview::prueba
