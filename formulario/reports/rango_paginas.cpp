#include "formulario/reports/rango_paginas.h"

#include <algorithm>
#include <cmath>

#include "formulario/core/estado.h"
#include "formulario/reports/lector_spool.h"
#include "platform/dao/conversion.h"

namespace zvform {

namespace {

bool Vacio(std::string_view texto) { return texto.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

RangoPaginas RangoPaginas::Vigente() {
    const Estado& e = Estado::G();
    return {e.gRangoPaginas, e.gPagDesde, e.gPagHasta};
}

RangoElegido ValidaRangoPaginas(std::string_view desde, std::string_view hasta, std::string_view total) {
    RangoElegido r;
    const double primera = dao::conv::Val(desde);
    if (Vacio(desde)) r.mensaje = kIngresePaginaInicio;
    else if (!(primera > 0)) r.mensaje = kPaginaInicialDesdeUno;
    else if (dao::conv::Val(total) < primera) r.mensaje = kPaginaInicialMayorTotal;
    else if (Vacio(hasta)) r.mensaje = kIngresePaginaFin;
    else if (dao::conv::Val(hasta) < primera) r.mensaje = kPaginaFinalMenorInicial;
    if (!r.mensaje.empty()) return r;
    // A page field of a spool file is 16-bit: its 1-based numbers reach 32768.
    r.desde = NumeroSpool(desde);
    r.hasta = static_cast<int>(std::nearbyint(std::min(dao::conv::Val(hasta), 32768.0)));
    return r;
}

bool TeclaDePagina(int tecla) { return tecla == 8 || tecla == '.' || tecla == ' ' || (tecla >= '0' && tecla <= '9'); }

}  // namespace zvform
