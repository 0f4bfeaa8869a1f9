#pragma once
// Conversions shared by the value type, the SQL functions and the recordsets:
// the old runtime's Val, dates as serial numbers and as text, and the engine
// type that a declared column type stands for.
#include <optional>
#include <string>
#include <string_view>

#include "platform/dao/value.h"

namespace dao::conv {

// Leading number of a text as Val reads it: blanks, tabs and line feeds are
// skipped anywhere, "&H"/"&O" prefixes read hex/octal; 0 when there is none.
double Val(std::string_view text);
// True when the whole text (blanks around allowed) is one decimal number.
bool IsNumeric(std::string_view text);

// Days since 30/12/1899 plus the fraction of the day (the engine's date serial).
double ToSerial(const Date& d);
Date FromSerial(double serial);
bool IsValid(const Date& d);

// "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" when there is a time: the text stored on disk.
std::string ToIso(const Date& d);
// Reads the stored form and the forms programs assign: "yyyy-mm-dd[ hh:mm[:ss]]",
// "yyyy/mm/dd", and "dd/mm/yyyy[ hh:mm[:ss]]" (day first). nullopt when not a valid date.
std::optional<Date> ParseDate(std::string_view text);

// The engine type of a declared column type (TEXT(15), BYTE, LONG, CURRENCY, DATE, ...)
// and its text size (0 when it has none). Unknown types give nullopt.
struct DeclaredType {
    DataType type;
    int size;
};
std::optional<DeclaredType> FromDeclaredType(std::string_view decl);

// Shortest decimal text of a double with a point (at most 15 significant digits).
std::string DoubleText(double v);

std::string Lower(std::string_view s);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace dao::conv
