#pragma once
// How the declaration form shows its amounts, and how a shown amount reads
// back: the display format of a box and the amount to pay that the payment
// control receives from box 598.
#include <string>

#include "platform/currency.h"

namespace zvdecl {

// Forma: a text that is not a number becomes ""; boxes 590, 591, 592, 597
// and 598 take "###,###,###,##0", a negative value its absolute value in
// parentheses, whatever the size of the value; box 593 (the number of
// records) keeps its text.
std::string Forma(int casilla, const std::string& texto);

// CalcularTotal: "" for an empty box 598; otherwise the box rounded to
// whole units, "#,###,###,##0", and "0" when it is negative.
std::string CalcularTotal(const std::string& texto598);

// The text as the numeric checks read it: blanks and thousands separators
// out; a text holding either parenthesis or a minus is the negative of what
// is left ("(1,500)", "(1,500", "1,500)" and "-1,500" are all "-1500"), so
// an amount the user half edited at its brackets still reads as the amount.
std::string SinFormato(const std::string& texto);

// The whole number a box's text stands for, laid on a whole-unit pattern
// ("###########0", "#########0"): "1,234" is "1234", "(500)" is "-500". A
// blank text, or one that is not an amount, gives "": no value at all.
// Saving writes this, and the box shows it through Forma, so what is stored
// is what the box showed.
std::string EnteroDeTexto(const std::string& texto, const char* patron);

// The amount a box shows: thousands separators dropped, an amount in
// parentheses negative ("(1,500)" is -1500, "1,234" is 1234); a text that
// is not an amount counts as its leading number; beyond the range of an
// amount it throws error 6.
zv::Currency ValorMostrado(const std::string& texto);

}  // namespace zvdecl
