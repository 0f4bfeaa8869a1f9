// The engine's rule for comparing text, registered on every connection in
// place of SQLite's NOCASE and RTRIM: letters compare without regard to case,
// over the whole of Windows-1252 (á = Á, ñ = Ñ, œ = Œ), while accents still
// tell letters apart (a <> á). In order, a letter with an accent comes right
// after the same letter without one (a, á, b), not after z. RTRIM, the rule of
// the document-number columns, also ignores trailing blanks.
//
// Taking the built-in names keeps the database readable by the sqlite3
// command: there the columns fall back to SQLite's own NOCASE and RTRIM,
// which agree with these on ASCII text (both fold to lower case).
#include <sqlite3.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/dao/collation.h"
#include "platform/dao/internal.h"
#include "platform/textfile.h"

namespace dao {

namespace {

// The next code point of UTF-8 text; a byte that starts no valid sequence
// stands for itself.
char32_t Next(std::string_view s, std::size_t& i) {
    auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) return b0;
    int extra = b0 >= 0xF8 ? 0 : b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + static_cast<std::size_t>(extra) > s.size()) return b0;
    char32_t cp = b0 & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) return b0;
        cp = (cp << 6) | (b & 0x3F);
    }
    i += static_cast<std::size_t>(extra);
    return cp;
}

// Lower case of the letters of Windows-1252 (and of Latin Extended-A pairs).
char32_t Folded(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 0x20;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;  // À..Þ except ×
    switch (cp) {
        case 0x178: return 0xFF;   // Ÿ
        case 0x160: return 0x161;  // Š
        case 0x152: return 0x153;  // Œ
        case 0x17D: return 0x17E;  // Ž
        default: break;
    }
    if (cp >= 0x100 && cp <= 0x137 && !(cp & 1)) return cp + 1;
    return cp;
}

// The letter a folded letter is written on, for the order only.
char32_t Unaccented(char32_t f) {
    static constexpr char kBase[] = "aaaaaa\xE6" "ceeeeiiii\xF0" "nooooo\xF7" "ouuuuy\xFE" "y";  // à..ÿ
    if (f >= 0xE0 && f <= 0xFF) return static_cast<unsigned char>(kBase[f - 0xE0]);
    if (f == 0x161) return 's';
    if (f == 0x17E) return 'z';
    return f;
}

template <typename Key>
int CompareBy(std::string_view a, std::string_view b, Key key) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t x = key(Folded(Next(a, i)));
        char32_t y = key(Folded(Next(b, j)));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

// Where the first n bytes of a and b first differ (n when they do not):
// a word at a time, the last word overlapping the one before, so that a
// key of a few bytes costs one or two loads.
std::size_t FirstDifference(const char* a, const char* b, std::size_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        auto differ = [&](std::size_t at, auto word) -> std::size_t {
            decltype(word) x, y;
            std::memcpy(&x, a + at, sizeof x);
            std::memcpy(&y, b + at, sizeof y);
            return x == y ? n : at + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        };
        if (n >= 8) {
            for (std::size_t i = 0; i + 8 <= n; i += 8)
                if (std::size_t d = differ(i, std::uint64_t{}); d != n) return d;
            return differ(n - 8, std::uint64_t{});
        }
        if (n >= 4) {
            if (std::size_t d = differ(0, std::uint32_t{}); d != n) return d;
            return differ(n - 4, std::uint32_t{});
        }
    }
    std::size_t i = 0;  // a few bytes, or a machine whose words read the other way
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

char AsciiFolded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

std::string_view WithoutTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Over ASCII both passes of the rule see the same key, the byte with its
// capital folded, so the first such difference decides. Once a byte is not
// ASCII the rest goes by code point: the equal ASCII bytes before it weigh
// nothing in either pass, and a code point never starts mid-way in them.
// Keys share long equal heads (the RUC, the period), and most compared
// key columns are wholly equal: the equal bytes are skipped first. From the
// first difference the comparison goes back to just after an ASCII byte (or
// to the start): there both texts decode in step, and everything before
// weighs the same in them.
int CompareTextHere(std::string_view a, std::string_view b) {
    const std::size_t comun = a.size() < b.size() ? a.size() : b.size();
    std::size_t desde = FirstDifference(a.data(), b.data(), comun);
    if (desde == comun && a.size() == b.size()) return 0;
    while (desde > 0 && static_cast<unsigned char>(a[desde - 1]) >= 0x80) --desde;
    for (std::size_t i = desde; i < comun; ++i) {
        const char x = a[i], y = b[i];
        if ((static_cast<unsigned char>(x) | static_cast<unsigned char>(y)) & 0x80)
            return CompareCodePoints(a.substr(i), b.substr(i));
        if (x == y) continue;
        const char fx = AsciiFolded(x), fy = AsciiFolded(y);
        if (fx != fy) return static_cast<unsigned char>(fx) < static_cast<unsigned char>(fy) ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() > comun ? 1 : -1;
}

int NoCase(void*, int na, const void* a, int nb, const void* b) {
    return CompareTextHere({static_cast<const char*>(a), static_cast<std::size_t>(na)},
                           {static_cast<const char*>(b), static_cast<std::size_t>(nb)});
}

int RTrim(void*, int na, const void* a, int nb, const void* b) {
    return CompareTextHere(WithoutTrailingBlanks({static_cast<const char*>(a), static_cast<std::size_t>(na)}),
                           WithoutTrailingBlanks({static_cast<const char*>(b), static_cast<std::size_t>(nb)}));
}

}  // namespace

int CompareCodePoints(std::string_view a, std::string_view b) {
    if (int byLetter = CompareBy(a, b, Unaccented)) return byLetter;
    return CompareBy(a, b, [](char32_t f) { return f; });
}

int CompareText(std::string_view a, std::string_view b) { return CompareTextHere(a, b); }

void AppendFolded(std::string_view text, std::string& out) {
    const std::size_t start = out.size();
    text = WithoutTrailingBlanks(text);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t ascii = i + zv::text::AsciiPrefix(text.substr(i));
        if (ascii > i) {  // a run of ASCII, folded in place
            const std::size_t desde = out.size();
            out.append(text.data() + i, ascii - i);
            for (std::size_t k = desde; k < out.size(); ++k) out[k] = AsciiFolded(out[k]);
            i = ascii;
            continue;
        }
        const char32_t f = Folded(Next(text, i));  // an overlong sequence may fold to ASCII
        if (f == ' ' && i == text.size()) {
            // An overlong blank (C0 A0) at the end is a trailing blank to the
            // rule too, and so are the blanks before it.
            while (out.size() > start && out.back() == ' ') out.pop_back();
            break;
        }
        zv::text::AppendUtf8(out, f);
    }
}

void RegisterTextCollations(sqlite3* db) {
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, NoCase, nullptr);
    sqlite3_create_collation_v2(db, "RTRIM", SQLITE_UTF8, nullptr, RTrim, nullptr);
}

}  // namespace dao
