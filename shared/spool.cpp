// Spool records, tag lines and the line writer.
#include "shared/spool.h"

namespace zv::spool {

std::string TagHojas(int hojas) { return "<!nHojas!>" + std::to_string(hojas) + "<!/nHojas!>"; }

bool EsTag(std::string_view linea) { return linea.starts_with("<!"); }

bool EsTagOrientacion(std::string_view linea) { return linea == kTagVertical || linea == kTagHorizontal; }

std::string RegistroPos(int x, int y, std::string_view texto, bool negrita, int tamano, int pagina) {
    std::string r = "pPos|";
    r += std::to_string(x);
    r += '|';
    r += std::to_string(y);
    r += '|';
    r += texto;
    r += negrita ? "|True|" : "|False|";
    r += std::to_string(tamano);
    r += '|';
    r += std::to_string(pagina);
    r += '|';
    return r;
}

std::string RegistroCuadro(int x1, int y1, int x2, int y2, int pagina) {
    return "pCuadro|" + std::to_string(x1) + "|" + std::to_string(y1) + "|" + std::to_string(x2) + "|" +
           std::to_string(y2) + "|" + std::to_string(pagina) + "|";
}

std::string SumaPosicion(int& posicion, int paso) {
    posicion += paso;
    return std::to_string(posicion);
}

EscritorSpool::EscritorSpool(int lineasPorPagina) : lineasPorPagina_(lineasPorPagina) {}

void EscritorSpool::Abre(const std::filesystem::path& ruta) { archivo_.Open(ruta, zv::text::WriteMode::Output); }

void EscritorSpool::Cierra() {
    if (archivo_.IsOpen()) archivo_.Close();
}

void EscritorSpool::ImprimePos(int x, int y, std::string_view texto, bool negrita, int tamano, int pagina) {
    if (texto == kNuevaHoja) {
        archivo_.WriteLine(kNuevaHoja);
    } else if (EsTag(texto)) {
        if (this->pagina <= 1) archivo_.WriteLine(texto);
    } else {
        archivo_.WriteLine(RegistroPos(x, y, texto, negrita, tamano, pagina));
    }
}

void EscritorSpool::ImprimeCuadro(int x1, int y1, int x2, int y2, int pagina) {
    archivo_.WriteLine(RegistroCuadro(x1, y1, x2, y2, pagina));
}

void EscritorSpool::ImprimeLinea(std::string& texto) {
    const bool esTag = EsTag(texto);
    if (esTag) {
        if (pagina > 1 && !EsTagOrientacion(linea)) return;
    } else {
        std::string y = SumaPosicion(posY, kAltoLinea);
        texto = "pPos|10|" + y + "|" + texto + "|False|8|" + std::to_string(pagina - 1) + "|";
    }
    archivo_.WriteLine(texto);
    if (esTag) return;
    ++lineaActual;
    if (lineasPorPagina_ > 0 && lineaActual == lineasPorPagina_) {
        lineaActual = 0;
        ++pagina;
        archivo_.WriteLine(kNuevaHoja);
    }
}

void EscritorSpool::EscribeLinea(std::string_view linea) { archivo_.WriteLine(linea); }

}  // namespace zv::spool
