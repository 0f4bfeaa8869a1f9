#pragma once
// Regional settings, read from WIN.INI [intl] under the keys that hold them;
// a key that is absent takes the value of the process's own locale.
#include <optional>
#include <string>

namespace zv::regional {

enum class LocaleValue {
    SDate, SShortDate, STime, STimeFormat, SDecimal, SThousand, IDigits, SNegativeSign,
    INegNumber, ILZero, SMonDecimalSep, SMonThousandSep, ICurrDigits, ICurrency, INegCurr
};

// The WIN.INI [intl] key of a value ("sDate", "iNegCurr", ...).
const char* IntlKey(LocaleValue v);

// The value cut to bufferSize - 1 characters; nullopt when it cannot be read
// (WIN.INI exists but cannot be read).
std::optional<std::string> GetLocaleInfo(LocaleValue v, int bufferSize = 100);

}  // namespace zv::regional
