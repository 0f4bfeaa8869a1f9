#include "platform/dao/conversion.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace dao::conv {

namespace {

bool IsBlankForVal(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const long kSerialEpoch = DaysFromCivil(1899, 12, 30);

bool ReadInt(std::string_view s, std::size_t& i, int maxDigits, int& out) {
    std::size_t start = i;
    int v = 0;
    while (i < s.size() && i - start < static_cast<std::size_t>(maxDigits) &&
           std::isdigit(static_cast<unsigned char>(s[i]))) {
        v = v * 10 + (s[i] - '0');
        ++i;
    }
    if (i == start) return false;
    out = v;
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Optional " hh:mm[:ss]" after a date.
bool ReadTime(std::string_view s, std::size_t i, Date& d) {
    while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
    if (i == s.size()) return true;
    if (!ReadInt(s, i, 2, d.hour) || i >= s.size() || s[i] != ':') return false;
    ++i;
    if (!ReadInt(s, i, 2, d.minute)) return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!ReadInt(s, i, 2, d.second)) return false;
    }
    return i == s.size() && d.hour < 24 && d.minute < 60 && d.second < 60;
}

}  // namespace

double Val(std::string_view text) {
    std::string s;
    for (char c : text)
        if (!IsBlankForVal(c)) s += c;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        long long v = 0;
        for (std::size_t i = 2; i < s.size(); ++i) {
            int digit;
            char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            else break;
            if (digit >= base) break;
            // Beyond the range of a number the value stays at its limit (never wraps).
            if (v > (std::numeric_limits<long long>::max() - digit) / base) {
                v = std::numeric_limits<long long>::max();
                continue;
            }
            v = v * base + digit;
        }
        return static_cast<double>(v);
    }
    std::size_t i = 0;
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { num += s[i++]; digits = true; }
    if (i < s.size() && s[i] == '.') {
        num += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { num += s[i++]; digits = true; }
    }
    if (!digits) return 0.0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::string exp = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
        bool expDigits = false;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) { exp += s[j++]; expDigits = true; }
        if (expDigits) num += exp;
    }
    return std::strtod(num.c_str(), nullptr);
}

bool IsNumeric(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (s.empty()) return false;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { ++i; digits = true; }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { ++i; digits = true; }
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        bool expDigits = false;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) { ++i; expDigits = true; }
        if (!expDigits) return false;
    }
    return i == s.size();
}

bool IsValid(const Date& d) {
    if (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    int max = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= max && d.hour >= 0 && d.hour < 24 && d.minute >= 0 && d.minute < 60 && d.second >= 0 &&
           d.second < 60;
}

double ToSerial(const Date& d) {
    double days = static_cast<double>(DaysFromCivil(d.year, d.month, d.day) - kSerialEpoch);
    double frac = (d.hour * 3600 + d.minute * 60 + d.second) / 86400.0;
    // Before the epoch the fraction still counts forward within the day.
    return days >= 0 ? days + frac : days - frac;
}

Date FromSerial(double serial) {
    double whole = std::trunc(serial);
    double frac = std::fabs(serial - whole);
    long seconds = std::lround(frac * 86400.0);
    if (seconds >= 86400) { seconds -= 86400; whole += serial >= 0 ? 1 : -1; }
    Date d;
    CivilFromDays(static_cast<long>(whole) + kSerialEpoch, d.year, d.month, d.day);
    d.hour = static_cast<int>(seconds / 3600);
    d.minute = static_cast<int>(seconds / 60 % 60);
    d.second = static_cast<int>(seconds % 60);
    return d;
}

std::string ToIso(const Date& d) {
    char buf[32];
    auto inRange = [](int v, int most) { return v >= 0 && v <= most; };
    if (d.hour == 0 && d.minute == 0 && d.second == 0 && inRange(d.year, 9999) && inRange(d.month, 99) &&
        inRange(d.day, 99)) {
        // The common case without printf: "yyyy-mm-dd".
        const int digits[] = {d.year / 1000, d.year / 100 % 10, d.year / 10 % 10, d.year % 10, -1,
                              d.month / 10,  d.month % 10,      -1,               d.day / 10,  d.day % 10};
        std::string out(10, '-');
        for (int i = 0; i < 10; ++i)
            if (digits[i] >= 0) out[i] = static_cast<char>('0' + digits[i]);
        return out;
    }
    if (d.hour == 0 && d.minute == 0 && d.second == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                      d.second);
    return buf;
}

std::optional<Date> ParseDate(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    Date d;
    std::size_t i = 0;
    int a = 0, b = 0, c = 0;
    std::size_t startA = i;
    if (!ReadInt(s, i, 4, a)) return std::nullopt;
    bool yearFirst = i - startA == 4;
    if (i >= s.size() || (s[i] != '-' && s[i] != '/')) return std::nullopt;
    char sep = s[i++];
    if (!ReadInt(s, i, 2, b) || i >= s.size() || s[i] != sep) return std::nullopt;
    ++i;
    std::size_t startC = i;
    if (!ReadInt(s, i, yearFirst ? 2 : 4, c)) return std::nullopt;
    if (yearFirst) {
        d.year = a; d.month = b; d.day = c;
    } else {
        if (i - startC != 4) return std::nullopt;
        d.day = a; d.month = b; d.year = c;
    }
    if (!ReadTime(s, i, d) || !IsValid(d)) return std::nullopt;
    return d;
}

std::optional<DeclaredType> FromDeclaredType(std::string_view decl) {
    std::string base;
    int size = 0;
    std::size_t i = 0;
    for (; i < decl.size() && decl[i] != '('; ++i)
        if (!std::isspace(static_cast<unsigned char>(decl[i])))
            base += static_cast<char>(std::toupper(static_cast<unsigned char>(decl[i])));
    if (i < decl.size()) size = std::atoi(std::string(decl.substr(i + 1)).c_str());
    auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (base == n) return true;
        return false;
    };
    if (is({"TEXT", "VARCHAR", "CHAR", "NVARCHAR", "NCHAR", "CHARACTER", "STRING", "ALPHANUMERIC",
            "CHARACTERVARYING", "VARYINGCHARACTER", "NATIONALCHARACTER", "NATIONALVARCHAR", "NTEXT"}))
        return DeclaredType{DataType::Text, size};
    if (is({"MEMO", "LONGTEXT", "LONGCHAR", "NOTE", "CLOB"})) return DeclaredType{DataType::Text, 0};
    if (is({"BYTE", "TINYINT", "INTEGER1", "UNSIGNEDTINYINT"})) return DeclaredType{DataType::Byte, 0};
    if (is({"SMALLINT", "SHORT", "INTEGER2"})) return DeclaredType{DataType::Integer, 0};
    if (is({"INTEGER", "LONG", "INT", "INTEGER4", "COUNTER", "AUTOINCREMENT", "BIGINT", "MEDIUMINT"}))
        return DeclaredType{DataType::Long, 0};
    if (is({"DOUBLE", "FLOAT", "REAL", "FLOAT8", "FLOAT4", "NUMBER", "NUMERIC", "SINGLE", "DECIMAL",
            "DOUBLEPRECISION", "IEEEDOUBLE", "IEEESINGLE"}))
        return DeclaredType{DataType::Double, 0};
    if (is({"CURRENCY", "MONEY"})) return DeclaredType{DataType::Currency, 0};
    if (is({"DATE", "DATETIME", "TIME", "TIMESTAMP"})) return DeclaredType{DataType::Date, 0};
    if (is({"BIT", "YESNO", "LOGICAL", "LOGICAL1", "BOOLEAN"})) return DeclaredType{DataType::Boolean, 0};
    return std::nullopt;
}

std::string DoubleText(double v) {
    if (v == 0) return "0";
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, v);
        if (precision >= 15 || std::strtod(buf, nullptr) == v) break;
    }
    std::string s = buf;
    // Plain decimal form when the exponent is small, as the old runtime writes numbers.
    auto e = s.find('e');
    if (e != std::string::npos) {
        int exp = std::atoi(s.c_str() + e + 1);
        if (exp > -5 && exp < 15) {
            std::snprintf(buf, sizeof buf, "%.*f", exp < 0 ? 15 - exp : 0, v);
            s = buf;
            if (s.find('.') != std::string::npos) {
                while (s.back() == '0') s.pop_back();
                if (s.back() == '.') s.pop_back();
            }
        } else {
            s[e] = 'E';
        }
    }
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace dao::conv
