#include "platform/regional.h"

#include <langinfo.h>

#include <climits>
#include <clocale>
#include <string_view>

#include "platform/profile.h"
#include "platform/textfile.h"

// Regional settings live in WIN.INI [intl], as they did where the programs
// come from; writing a key there changes what the next read returns.
//
// A key that is absent takes the value of the process's own locale (the one
// setlocale chose; Qt programs take the environment's). POSIX keeps these
// values differently, so each is derived as follows:
//
//   sDate            the first separator of nl_langinfo(D_FMT) ("%d/%m/%Y" -> "/")
//   sShortDate       D_FMT as a picture: %d dd, %e d, %m MM, %y yy, %Y yyyy,
//                    %b MMM, %B MMMM, %a ddd, %A dddd, %D MM/dd/yy, %F yyyy-MM-dd
//   sTime            the first separator of T_FMT ("%H:%M:%S" -> ":")
//   sTimeFormat      T_FMT as a picture: %H HH, %k H, %I hh, %l h, %M mm, %S ss,
//                    %p tt, %T HH:mm:ss, %R HH:mm, %r T_FMT_AMPM
//   sDecimal         localeconv decimal_point
//   sThousand        localeconv thousands_sep
//   iDigits          localeconv frac_digits (POSIX has no decimals for numbers)
//   sNegativeSign    localeconv negative_sign
//   iNegNumber       1 ("-1.1"): POSIX numbers always print the sign in front
//   iLZero           1 ("0.7"): POSIX numbers always print the leading zero
//   sMonDecimalSep   localeconv mon_decimal_point
//   sMonThousandSep  localeconv mon_thousands_sep
//   iCurrDigits      localeconv frac_digits
//   iCurrency        from p_cs_precedes and p_sep_by_space:
//                    0 "$1.1", 1 "1.1$", 2 "$ 1.1", 3 "1.1 $"
//   iNegCurr         from n_cs_precedes, n_sep_by_space and n_sign_posn, see
//                    NegativeCurrencyFormat (0 "($1.1)" ... 15 "(1.1 $)")
//
// A field the locale leaves undefined (an empty text, CHAR_MAX, as the "C"
// locale does for most of them) takes the value of the old platform's
// invariant locale: "/" "MM/dd/yyyy" ":" "HH:mm:ss" "." "," 2 "-" 1 1 "." ","
// 2 0 0.

namespace zv::regional {

namespace {

struct Entry {
    LocaleValue value;
    const char* key;
    const char* invariant;
};

constexpr Entry kEntries[] = {
    {LocaleValue::SDate, "sDate", "/"},
    {LocaleValue::SShortDate, "sShortDate", "MM/dd/yyyy"},
    {LocaleValue::STime, "sTime", ":"},
    {LocaleValue::STimeFormat, "sTimeFormat", "HH:mm:ss"},
    {LocaleValue::SDecimal, "sDecimal", "."},
    {LocaleValue::SThousand, "sThousand", ","},
    {LocaleValue::IDigits, "iDigits", "2"},
    {LocaleValue::SNegativeSign, "sNegativeSign", "-"},
    {LocaleValue::INegNumber, "iNegNumber", "1"},
    {LocaleValue::ILZero, "iLZero", "1"},
    {LocaleValue::SMonDecimalSep, "sMonDecimalSep", "."},
    {LocaleValue::SMonThousandSep, "sMonThousandSep", ","},
    {LocaleValue::ICurrDigits, "iCurrDigits", "2"},
    {LocaleValue::ICurrency, "iCurrency", "0"},
    {LocaleValue::INegCurr, "iNegCurr", "0"},
};

const Entry& EntryOf(LocaleValue v) {
    for (const auto& e : kEntries)
        if (e.value == v) return e;
    return kEntries[0];
}

// The first character of a strftime format that is not part of a conversion.
std::string FirstSeparator(std::string_view fmt) {
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == '%') {
            ++i;
            if (i < fmt.size() && (fmt[i] == 'E' || fmt[i] == 'O')) ++i;
            continue;
        }
        return std::string(1, fmt[i]);
    }
    return {};
}

const char* PictureOf(char conversion) {
    switch (conversion) {
        case 'd': return "dd";
        case 'e': return "d";
        case 'm': return "MM";
        case 'y': return "yy";
        case 'Y': return "yyyy";
        case 'b':
        case 'h': return "MMM";
        case 'B': return "MMMM";
        case 'a': return "ddd";
        case 'A': return "dddd";
        case 'D': return "MM/dd/yy";
        case 'F': return "yyyy-MM-dd";
        case 'H': return "HH";
        case 'k': return "H";
        case 'I': return "hh";
        case 'l': return "h";
        case 'M': return "mm";
        case 'S': return "ss";
        case 'p':
        case 'P': return "tt";
        case 'T': return "HH:mm:ss";
        case 'R': return "HH:mm";
        case '%': return "%";
        default: return "";
    }
}

// A strftime format as the picture the old platform used ("%d/%m/%Y" ->
// "dd/MM/yyyy"); %r expands to the locale's 12-hour format.
std::string Picture(std::string_view fmt) {
    std::string out;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            out += fmt[i];
            continue;
        }
        if (++i < fmt.size() && (fmt[i] == 'E' || fmt[i] == 'O' || fmt[i] == '-')) ++i;
        if (i >= fmt.size()) break;
        if (fmt[i] == 'r') {
            std::string_view ampm = nl_langinfo(T_FMT_AMPM);
            if (ampm.find("%r") == std::string_view::npos) out += Picture(ampm);
            continue;
        }
        out += PictureOf(fmt[i]);
    }
    return out;
}

int CurrencyFormat(char precedes, char sep) {
    if (precedes == CHAR_MAX || sep == CHAR_MAX) return -1;
    return (precedes ? 0 : 1) + (sep ? 2 : 0);
}

// The old platform's negative currency format from POSIX's three fields.
int NegativeCurrencyFormat(char precedes, char sep, char posn) {
    if (precedes == CHAR_MAX || sep == CHAR_MAX || posn == CHAR_MAX || posn > 4) return -1;
    //                               posn: ()  -$1 $1-  -$  $-
    static constexpr int kBefore[5] = {0, 1, 3, 1, 2};         // "$1.1"
    static constexpr int kAfter[5] = {4, 5, 7, 6, 7};          // "1.1$"
    static constexpr int kBeforeSpaced[5] = {14, 9, 11, 9, 12}; // "$ 1.1"
    static constexpr int kAfterSpaced[5] = {15, 8, 10, 13, 10}; // "1.1 $"
    const int* table = precedes ? (sep ? kBeforeSpaced : kBefore) : (sep ? kAfterSpaced : kAfter);
    return table[static_cast<int>(posn)];
}

std::string Number(int n) { return n < 0 ? std::string() : std::to_string(n); }

// The value of the process's locale, "" when the locale leaves it undefined.
std::string FromLocale(LocaleValue v) {
    const lconv* lc = std::localeconv();
    switch (v) {
        case LocaleValue::SDate: return FirstSeparator(nl_langinfo(D_FMT));
        case LocaleValue::SShortDate: return Picture(nl_langinfo(D_FMT));
        case LocaleValue::STime: return FirstSeparator(nl_langinfo(T_FMT));
        case LocaleValue::STimeFormat: return Picture(nl_langinfo(T_FMT));
        case LocaleValue::SDecimal: return lc->decimal_point;
        case LocaleValue::SThousand: return lc->thousands_sep;
        case LocaleValue::IDigits:
        case LocaleValue::ICurrDigits: return lc->frac_digits == CHAR_MAX ? "" : Number(lc->frac_digits);
        case LocaleValue::SNegativeSign: return lc->negative_sign;
        case LocaleValue::INegNumber: return "1";
        case LocaleValue::ILZero: return "1";
        case LocaleValue::SMonDecimalSep: return lc->mon_decimal_point;
        case LocaleValue::SMonThousandSep: return lc->mon_thousands_sep;
        case LocaleValue::ICurrency: return Number(CurrencyFormat(lc->p_cs_precedes, lc->p_sep_by_space));
        case LocaleValue::INegCurr:
            return Number(NegativeCurrencyFormat(lc->n_cs_precedes, lc->n_sep_by_space, lc->n_sign_posn));
    }
    return {};
}

}  // namespace

const char* IntlKey(LocaleValue v) { return EntryOf(v).key; }

std::optional<std::string> GetLocaleInfo(LocaleValue v, int bufferSize) {
    const Entry& entry = EntryOf(v);
    bool unreadable = false;
    std::optional<std::string> value = profile::FindProfileValue("intl", entry.key, "WIN.INI", &unreadable);
    if (unreadable) return std::nullopt;
    if (!value) {
        value = FromLocale(v);
        if (value->empty()) value = entry.invariant;
    }
    if (bufferSize <= 0) return std::string();
    return text::Left(*value, static_cast<std::size_t>(bufferSize - 1));
}

}  // namespace zv::regional
