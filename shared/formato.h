#pragma once
// Amount and number formats of the system, with the rounding made explicit:
// whole-unit formats round half away from zero; two-decimal formats round
// half away from zero at the second decimal.
//
// Supported patterns (the only ones the programs use):
//   "###,###,###,##0.00"  "(###,###,###,##0.00)"  "(##,###,###,##0.00)"
//   "###########0"  "###########0.00"  "##########0"  "#########0"
//   "###,###,###,##0"  "(##,###,###,##0)"
//   "###,###,###,##0;(###,###,###,##0)"  "0#/####"  "###,###,###,###.##"
// A negative value in a one-section pattern gets a leading "-"; a
// two-section pattern uses its second section (without sign) for negatives.
#include <string>
#include <string_view>

#include "platform/currency.h"

namespace zv {

std::string Format(Currency value, std::string_view pattern);
std::string Format(double value, std::string_view pattern);
std::string Format(long long value, std::string_view pattern);
// Text read as a number first (Val-like: leading number, 0 when none).
std::string FormatText(std::string_view text, std::string_view pattern);

// Val(): the leading number of a text (blanks skipped), 0 when none.
double Val(std::string_view text);

// The number Val reads, written back as plain text of any size: no
// grouping, at most four decimals (rounded half away from zero) without
// trailing zeros, "-" for a negative value: "-1500", "12.5", "0" for none,
// "100000000000000000000" for "1e20".
std::string NumberText(std::string_view text);

}  // namespace zv
