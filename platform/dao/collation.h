#pragma once
// The engine's rule for comparing text (collation.cpp), open to its tests.
// Both give <0, 0 or >0 as `a` sorts before, with or after `b` (UTF-8).
#include <string>
#include <string_view>

namespace dao {

// The rule, on a byte path while both texts are ASCII: what keys and most
// stored texts (digits, capitals) are made of.
int CompareText(std::string_view a, std::string_view b);

// The text with every code point folded as the rule folds it (written back
// as UTF-8) and without trailing blanks, appended to `out`: texts that
// NOCASE or RTRIM hold equal give equal bytes here, so that equal keys can be
// told by a hash of these; the other way round, texts that give equal bytes
// are equal to the rule once the blanks at their ends are dropped.
void AppendFolded(std::string_view text, std::string& out);

// The same rule over decoded code points, for any text: where CompareText
// goes on from the first byte that is not ASCII.
int CompareCodePoints(std::string_view a, std::string_view b);

}  // namespace dao
