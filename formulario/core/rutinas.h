#pragma once
// Small routines the forms and report writers of zvform share (those that
// need no window).
#include <string>
#include <string_view>

#include "formulario/core/fecha.h"
#include "platform/currency.h"
#include "platform/dao/value.h"

namespace zvform {

// The text right-aligned: blanks in front up to `ancho` characters, at
// most 200 of them; unchanged when it is not shorter than `ancho`.
std::string RellenaEspacios(const std::string& texto, int ancho);

// The text left-aligned in exactly `ancho` characters: filled with blanks
// or cut.
std::string AlineaIzquierda(std::string_view texto, int ancho);

// 0 for Null or a blank text; otherwise the amount the text writes (a
// point for decimals, "," grouping allowed). A text that is not an amount
// counts as its leading number (Val), never as an error.
zv::Currency ValorMoneda(const std::string& texto);
zv::Currency ValorMoneda(const char* texto);
zv::Currency ValorMoneda(const dao::Value& valor);

// "dd/mm/yyyy": False when the date lies after `hoy` (day from characters
// 1-2, month 4-5, year the last four, each read as a number). The date
// itself is not validated: the 31st of a past month is True.
bool FechaNoFutura(std::string_view fecha, const Fecha& hoy);
bool FechaNoFutura(std::string_view fecha);  // against today

// An information box; an empty title becomes "Mensaje" (in the caller's
// variable too).
void MuestraMensaje(const std::string& texto, std::string& titulo);
void MuestraMensaje(const std::string& texto, const std::string& titulo = "");

}  // namespace zvform
