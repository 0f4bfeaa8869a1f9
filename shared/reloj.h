#pragma once
// The clock as the reports and files of the programs write it.
#include <ctime>
#include <string>

namespace zv {

std::tm HoraLocal();                                            // now, local time
std::string FormatoHora(const char* patron, const std::tm& t);  // strftime pattern
std::string Ahora(const char* patron);                          // now, in that pattern

}  // namespace zv
