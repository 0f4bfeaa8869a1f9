#include "shared/formato.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Every value is first turned into an exact decimal (sign, integer digits,
// fraction digits), rounded there half away from zero, and only then laid
// out on the pattern. Doubles are taken by their shortest round-trip text,
// so 2.675 rounds to 2.68 as it reads, not as its binary value would.
//
// Pattern rules (the old runtime's):
//   "0"  a required digit, "#" an optional digit; integer digits fill the
//        placeholders from the right, extra digits go before the leftmost;
//   ","  between digit placeholders: group the integer digits by thousands;
//   "."  the decimal point, always written; trailing "#" decimals drop their
//        zeros ("###.##" gives "." for 0 and "1234.5" for 1234.5);
//   any other character is a literal, copied where it stands.
//   "a;b": b, without sign, for negatives; one section: "-" in front.
// A value that rounds to zero is not negative: it takes the first section
// and no sign ("0", never "-0").

namespace zv {
namespace {

struct Decimal {
    bool negative = false;
    std::string integer;   // digits, no leading zeros ("" for 0)
    std::string fraction;  // digits, any length
};

std::string StripLeadingZeros(std::string digits) {
    std::size_t i = digits.find_first_not_of('0');
    return i == std::string::npos ? std::string() : digits.substr(i);
}

bool IsZero(const Decimal& d) {
    return d.integer.empty() && d.fraction.find_first_not_of('0') == std::string::npos;
}

// Adds one unit at the last place of a digit string; returns the carry.
bool Increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// Rounds to `places` decimals, half away from zero (the sign is apart).
void Round(Decimal& d, std::size_t places) {
    if (d.fraction.size() <= places) {
        d.fraction.append(places - d.fraction.size(), '0');
        return;
    }
    bool up = d.fraction[places] >= '5';
    d.fraction.resize(places);
    if (!up) return;
    if (Increment(d.fraction)) {
        std::string integer = d.integer.empty() ? "0" : d.integer;
        if (Increment(integer)) integer.insert(integer.begin(), '1');
        d.integer = StripLeadingZeros(integer);
    }
}

Decimal FromUnsigned(bool negative, std::uint64_t units, std::uint64_t frac, int fracDigits) {
    Decimal d;
    d.negative = negative;
    d.integer = units == 0 ? std::string() : std::to_string(units);
    if (fracDigits > 0) {
        std::string f = std::to_string(frac);
        d.fraction = std::string(fracDigits - f.size(), '0') + f;
    }
    return d;
}

std::uint64_t Magnitude(std::int64_t v) {
    return v < 0 ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
}

Decimal FromCurrency(Currency c) {
    std::uint64_t raw = Magnitude(c.Raw());
    return FromUnsigned(c.Raw() < 0, raw / Currency::kScale, raw % Currency::kScale, 4);
}

Decimal FromLong(long long v) { return FromUnsigned(v < 0, Magnitude(v), 0, 0); }

// Digits with an optional point, possibly followed by an exponent; the
// exponent moves the point. `text` holds no sign.
Decimal FromPlain(bool negative, std::string_view mantissa, long exponent) {
    std::string digits;
    long point = -1;
    for (char ch : mantissa) {
        if (ch == '.') point = static_cast<long>(digits.size());
        else digits.push_back(ch);
    }
    if (point < 0) point = static_cast<long>(digits.size());
    point += exponent;
    if (point < 0) {
        digits.insert(0, static_cast<std::size_t>(-point), '0');
        point = 0;
    }
    if (point > static_cast<long>(digits.size())) digits.append(point - digits.size(), '0');
    Decimal d;
    d.negative = negative;
    d.integer = StripLeadingZeros(digits.substr(0, point));
    d.fraction = digits.substr(point);
    return d;
}

Decimal FromDouble(double v) {
    if (!std::isfinite(v)) return Decimal{};
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v), std::chars_format::fixed);
    return FromPlain(std::signbit(v), std::string_view(buffer, result.ptr - buffer), 0);
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The leading number of a text as Val reads it: blanks anywhere are
// skipped, then an optional sign, digits, one point, and an exponent
// introduced by E or D.
Decimal LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    auto skip = [&] { while (i < text.size() && IsBlank(text[i])) ++i; };
    skip();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string mantissa;
    bool point = false;
    for (; i < text.size(); ++i) {
        char ch = text[i];
        if (IsBlank(ch)) continue;
        if (IsDigit(ch)) mantissa.push_back(ch);
        else if (ch == '.' && !point) { point = true; mantissa.push_back(ch); }
        else break;
    }
    long exponent = 0;
    if (i < text.size() && std::string_view("EeDd").find(text[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        while (j < text.size() && IsBlank(text[j])) ++j;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) expNegative = text[j++] == '-';
        long value = 0;
        bool any = false;
        for (; j < text.size(); ++j) {
            if (IsBlank(text[j])) continue;
            if (!IsDigit(text[j])) break;
            any = true;
            if (value < 100000) value = value * 10 + (text[j] - '0');
        }
        if (any) exponent = expNegative ? -value : value;
    }
    Decimal d = FromPlain(negative, mantissa, exponent);
    if (IsZero(d)) d.negative = false;
    return d;
}

// One section of a pattern, split at its parts.
struct Section {
    std::string prefix;       // literals before the first placeholder
    std::string integer;      // "0", "#" and literals between them
    bool grouping = false;    // a "," stood among the integer placeholders
    bool point = false;
    std::string decimals;     // "0" and "#" after the point
    std::string suffix;       // literals after the last placeholder
};

bool IsPlaceholder(char ch) { return ch == '0' || ch == '#'; }

Section ParseSection(std::string_view p) {
    Section s;
    std::size_t first = p.find_first_of("0#.");
    if (first == std::string_view::npos) {
        s.prefix = std::string(p);
        return s;
    }
    s.prefix = std::string(p.substr(0, first));
    std::size_t last = p.find_last_of("0#.");
    std::string_view body = p.substr(first, last - first + 1);
    s.suffix = std::string(p.substr(last + 1));
    std::size_t dot = body.find('.');
    std::string_view whole = body.substr(0, dot);
    for (char ch : whole) {
        if (ch == ',') s.grouping = true;
        else s.integer.push_back(ch);
    }
    if (dot != std::string_view::npos) {
        s.point = true;
        for (char ch : body.substr(dot + 1))
            if (IsPlaceholder(ch)) s.decimals.push_back(ch);
    }
    return s;
}

std::string Group(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

// Integer digits laid on the placeholders from the right.
std::string LayInteger(const Section& s, const std::string& digits) {
    std::string out;  // built reversed
    std::size_t left = digits.size();
    std::size_t firstPlaceholder = s.integer.find_first_of("0#");
    for (std::size_t i = s.integer.size(); i-- > 0;) {
        char ch = s.integer[i];
        if (!IsPlaceholder(ch)) {
            out.push_back(ch);
            continue;
        }
        if (left > 0) out.push_back(digits[--left]);
        else if (ch == '0') out.push_back('0');
        if (i == firstPlaceholder)
            while (left > 0) out.push_back(digits[--left]);
    }
    return std::string(out.rbegin(), out.rend());
}

std::string LayDecimals(const Section& s, const std::string& digits) {
    std::size_t keep = digits.size();
    while (keep > 0 && s.decimals[keep - 1] == '#' && digits[keep - 1] == '0') --keep;
    return digits.substr(0, keep);
}

std::string Lay(const Section& s, Decimal d) {
    Round(d, s.decimals.size());
    std::string integer = LayInteger(s, d.integer);
    // Grouping patterns hold only placeholders in their integer part.
    if (s.grouping) integer = Group(integer);
    std::string out = s.prefix + integer;
    if (s.point) out += "." + LayDecimals(s, d.fraction);
    return out + s.suffix;
}

std::string FormatDecimal(Decimal d, std::string_view pattern) {
    std::size_t semicolon = pattern.find(';');
    Section first = ParseSection(pattern.substr(0, semicolon));
    Decimal rounded = d;
    Round(rounded, first.decimals.size());
    bool negative = d.negative && !IsZero(rounded);
    d.negative = false;
    if (!negative) return Lay(first, d);
    if (semicolon != std::string_view::npos) return Lay(ParseSection(pattern.substr(semicolon + 1)), d);
    return "-" + Lay(first, d);
}

// Decimals of a plain pattern: "#...#0" (0) or "#...#0.00" (2); -1 for any other.
int PlainPatternDecimals(std::string_view p) {
    std::size_t hashes = p.find_first_not_of('#');
    if (hashes == std::string_view::npos) return -1;
    std::string_view rest = p.substr(hashes);
    return rest == "0" ? 0 : rest == "0.00" ? 2 : -1;
}

// A currency on a plain pattern, straight from its ten-thousandths: the
// digits with no leading zeros ("0" at least), rounded half away from zero.
std::string FormatPlain(Currency value, int decimals) {
    const std::uint64_t divisor = decimals == 2 ? 100 : Currency::kScale;
    const std::uint64_t raw = Magnitude(value.Raw());
    const std::uint64_t rounded = raw / divisor + (raw % divisor >= divisor / 2 ? 1 : 0);
    char text[32];
    char* end = text + sizeof text;
    char* p = end;
    std::uint64_t units = decimals == 2 ? rounded / 100 : rounded;
    if (decimals == 2) {
        *--p = static_cast<char>('0' + rounded % 10);
        *--p = static_cast<char>('0' + rounded / 10 % 10);
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units > 0);
    if (value.Raw() < 0 && rounded != 0) *--p = '-';
    return std::string(p, end);
}

}  // namespace

std::string Format(Currency value, std::string_view pattern) {
    if (int decimals = PlainPatternDecimals(pattern); decimals >= 0) return FormatPlain(value, decimals);
    return FormatDecimal(FromCurrency(value), pattern);
}

std::string Format(double value, std::string_view pattern) {
    return FormatDecimal(FromDouble(value), pattern);
}

std::string Format(long long value, std::string_view pattern) {
    return FormatDecimal(FromLong(value), pattern);
}

std::string FormatText(std::string_view text, std::string_view pattern) {
    return FormatDecimal(LeadingNumber(text), pattern);
}

std::string NumberText(std::string_view text) {
    Decimal d = LeadingNumber(text);
    Round(d, 4);
    while (!d.fraction.empty() && d.fraction.back() == '0') d.fraction.pop_back();
    std::string out = d.integer.empty() ? "0" : d.integer;
    if (!d.fraction.empty()) out += "." + d.fraction;
    return d.negative && !IsZero(d) ? "-" + out : out;
}

double Val(std::string_view text) {
    Decimal d = LeadingNumber(text);
    std::string plain = (d.negative ? "-" : "") + (d.integer.empty() ? "0" : d.integer);
    if (!d.fraction.empty()) plain += "." + d.fraction;
    return std::strtod(plain.c_str(), nullptr);
}

}  // namespace zv
