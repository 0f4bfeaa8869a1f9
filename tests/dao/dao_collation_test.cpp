// The text rule's byte path for ASCII gives what the rule gives by code
// point, over random Windows-1252 texts made to differ where it matters:
// case, accents, a letter changed, cut short, trailing blanks, bytes that
// are no valid UTF-8.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "platform/dao/collation.h"
#include "platform/textfile.h"

namespace {

int Signo(int n) { return (n > 0) - (n < 0); }

class Textos {
public:
    explicit Textos(unsigned semilla) : azar_(semilla) {}

    // A Windows-1252 character as UTF-8; now and then a lone byte that
    // starts or continues no valid sequence.
    std::string Caracter() {
        static const std::string kAscii = "AZaz09 @[`{_|-.^";
        switch (Hasta(10)) {
            case 0: return zv::text::FromCp1252(std::string(1, static_cast<char>(0x80 + Hasta(128))));
            case 1: return Hasta(4) == 0 ? std::string(1, static_cast<char>(0x80 + Hasta(128))) : std::string(1, 'A' + Hasta(26));
            case 2: return std::string(1, kAscii[Hasta(16)]);
            case 3: return std::string(1, static_cast<char>(0x20 + Hasta(95)));
            default: return std::string(1, Hasta(2) ? 'A' + Hasta(26) : '0' + Hasta(10));
        }
    }
    std::string Texto() {
        std::string t;
        for (int n = Hasta(24); n > 0; --n) t += Caracter();
        return t;
    }
    // A text close to `t`: the other case, one character changed, one
    // added or cut, or trailing blanks.
    std::string Vecino(std::string t) {
        switch (Hasta(5)) {
            case 0:
                for (char& c : t)
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
                    else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
                return t;
            case 1: return t.empty() ? Caracter() : t.substr(0, Hasta(static_cast<int>(t.size()))) + Caracter() + t.substr(t.size() / 2);
            case 2: return t + Caracter();
            case 3: return t.substr(0, t.empty() ? 0 : Hasta(static_cast<int>(t.size())));
            default: return t + std::string(Hasta(3), ' ');
        }
    }
    int Hasta(int n) { return std::uniform_int_distribution<int>(0, n - 1)(azar_); }

private:
    std::mt19937 azar_;
};

TEST(TextRule, TheAsciiBytePathAgreesWithTheRuleByCodePoint) {
    Textos textos(20240524);
    for (int i = 0; i < 200000; ++i) {
        const std::string a = textos.Texto();
        const std::string b = textos.Hasta(4) == 0 ? textos.Texto() : textos.Vecino(a);
        const int esperado = Signo(dao::CompareCodePoints(a, b));
        ASSERT_EQ(Signo(dao::CompareText(a, b)), esperado) << "'" << a << "' / '" << b << "'";
        ASSERT_EQ(Signo(dao::CompareText(b, a)), -esperado) << "'" << b << "' / '" << a << "'";
    }
}

TEST(TextRule, AsciiCasesOfTheBytePath) {
    struct Caso {
        const char* a;
        const char* b;
        int signo;
    };
    const Caso casos[] = {
        {"ABC", "abc", 0},    {"ABC", "abd", -1},  {"AB", "ABC", -1},  {"", "", 0},
        {"", "A", -1},        {"[", "a", -1},      {"_", "a", -1},     {"Z", "[", 1},  // '[' lies between 'Z' and 'a'
        {"ROJAS", "ROJAS ", -1}, {"12345678", "12345679", -1}, {"ÁB", "AC", -1}, {"AÑA", "ana", 1},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(Signo(dao::CompareText(c.a, c.b)), c.signo);
        EXPECT_EQ(Signo(dao::CompareCodePoints(c.a, c.b)), c.signo);
    }
}

}  // namespace

// Texts the rule holds equal (also once trailing blanks are dropped, as
// RTRIM does) fold to the same bytes, so a hash of these never misses one.
TEST(TextRule, TextsTheRuleHoldsEqualFoldAlike) {
    Textos textos(20240611);
    auto plegado = [](const std::string& t) {
        std::string out;
        dao::AppendFolded(t, out);
        return out;
    };
    auto sinBlancos = [](std::string t) {
        while (!t.empty() && t.back() == ' ') t.pop_back();
        return t;
    };
    int iguales = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::string a = textos.Texto();
        const std::string b = textos.Vecino(a);
        if (dao::CompareCodePoints(a, b) == 0 || dao::CompareCodePoints(sinBlancos(a), sinBlancos(b)) == 0) {
            ++iguales;
            ASSERT_EQ(plegado(a), plegado(b)) << "'" << a << "' / '" << b << "'";
        }
    }
    EXPECT_GT(iguales, 1000);  // the neighbours hold many equal pairs
    EXPECT_EQ(plegado("Ab\xC3\xA1  "), plegado("aB\xC3\x81"));
    EXPECT_EQ(plegado("\xC1\x81"), plegado("a"));  // an overlong "A"
    EXPECT_NE(plegado("a"), plegado("\xC3\xA1"));
}

namespace {

// Texts as no import brings them but a database may hold: besides ASCII and
// Windows-1252 letters, lone bytes, leads that start no sequence (F8-FF),
// overlong forms of a blank or a letter, cut sequences, a surrogate.
class Malformados {
public:
    explicit Malformados(unsigned semilla) : azar_(semilla) {}

    std::string Trozo() {
        switch (Hasta(12)) {
            case 0: return std::string(1, static_cast<char>((Hasta(2) ? 'A' : 'a') + Hasta(26)));
            case 1: return std::string(1, " 0.-_[~"[Hasta(7)]);
            case 2: return zv::text::FromCp1252(std::string(1, static_cast<char>(0x80 + Hasta(128))));
            case 3: return Byte(0x80 + Hasta(0x40));  // a continuation alone
            case 4: return Byte(0xC0 + Hasta(0x40));  // a lead alone
            case 5: {                                  // a lead of no sequence, and what would follow one
                std::string t = Byte(0xF5 + Hasta(11));
                for (int n = 1 + Hasta(3); n > 0; --n) t += Byte(0x80 + Hasta(0x40));
                return t;
            }
            case 6: return std::vector<std::string>{"\xC0\xA0", "\xE0\x80\xA0", "\xF0\x80\x80\xA0"}[Hasta(3)];
            case 7: {  // an overlong letter or sign
                const int c = 0x40 + Hasta(0x40);
                return Byte(0xC1) + Byte(0x80 | (c & 0x3F));
            }
            case 8: return Hasta(2) ? "\xF0\x9F\x98\x80" : "\xE2\x82\xAC";
            case 9: return Hasta(2) ? "\xE2\x82" : "\xF0\x9F\x98";
            case 10: return "\xED\xA0\x80";
            default: return " ";
        }
    }
    std::string Texto() {
        std::string t;
        for (int n = Hasta(10); n > 0; --n) t += Trozo();
        return t;
    }
    // The same text as the rule reads it, written otherwise: a byte that
    // starts no sequence as the letter it stands for, a blank or a letter
    // in an overlong form, a letter in the other case.
    std::string OtraEscritura(const std::string& t) {
        std::string out;
        for (char ch : t) {
            const auto b = static_cast<unsigned char>(ch);
            if (b >= 0xF8) zv::text::AppendUtf8(out, b);
            else if (b == ' ' && Hasta(2)) out += "\xC0\xA0";
            else if (std::isalpha(b) && Hasta(3) == 0) out += Byte(0xC1) + Byte(0x80 | (b & 0x3F));
            else if (std::isalpha(b) && Hasta(2)) out += static_cast<char>(b ^ 0x20);
            else out += ch;
        }
        return out;
    }
    // A text near t: a piece changed, added, cut, or blanks at the end.
    std::string Vecino(const std::string& t) {
        switch (Hasta(4)) {
            case 0: return t.substr(0, Hasta(static_cast<int>(t.size()) + 1)) + Trozo();
            case 1: return t + Trozo();
            case 2: return t.substr(0, Hasta(static_cast<int>(t.size()) + 1));
            default: return t + std::vector<std::string>{" ", "  ", "\xC0\xA0", " \xE0\x80\xA0"}[Hasta(4)];
        }
    }
    int Hasta(int n) { return std::uniform_int_distribution<int>(0, n - 1)(azar_); }

private:
    static std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }
    std::mt19937 azar_;
};

std::string Plegado(const std::string& t) {
    std::string out = "previo ";  // appended to what is there, which stays whole
    dao::AppendFolded(t, out);
    return out;
}

// The text without the blanks at its end, in any of the forms the rule
// reads as a blank.
std::string SinBlancosAlFinal(std::string t) {
    for (bool cambio = true; cambio;) {
        cambio = false;
        for (const std::string blanco : {" ", "\xC0\xA0", "\xE0\x80\xA0", "\xF0\x80\x80\xA0"})
            if (t.ends_with(blanco)) {
                t.resize(t.size() - blanco.size());
                cambio = true;
            }
    }
    return t;
}

}  // namespace

// The folded key and the comparison on every input: texts the rule holds
// equal fold alike, and texts that fold alike are equal once the blanks at
// their ends are dropped (all the fold promises the other way).
TEST(TextRule, TheFoldedKeyAgreesWithTheRuleOnMalformedText) {
    Malformados textos(20261211);
    int iguales = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::string a = textos.Texto();
        const std::string otra = textos.OtraEscritura(a);
        const std::string b = textos.Hasta(3) == 0 ? textos.Vecino(otra) : otra;
        SCOPED_TRACE(::testing::PrintToString(a) + " / " + ::testing::PrintToString(b));
        const bool igualesPorLaRegla = dao::CompareText(a, b) == 0;
        if (b == otra) {
            ASSERT_TRUE(igualesPorLaRegla);
        }
        ASSERT_EQ(Signo(dao::CompareText(a, b)), Signo(dao::CompareCodePoints(a, b)));
        if (igualesPorLaRegla) {
            ASSERT_EQ(Plegado(a), Plegado(b));
        }
        ASSERT_EQ(Plegado(a) == Plegado(b), dao::CompareText(SinBlancosAlFinal(a), SinBlancosAlFinal(b)) == 0);
        iguales += igualesPorLaRegla;
    }
    EXPECT_GT(iguales, 100000);  // most pairs are the same text written otherwise
}

TEST(TextRule, MalformedCasesOfTheRuleAndTheFold) {
    struct Caso {
        const char* a;
        const char* b;
        int signo;
    };
    const Caso casos[] = {
        {"a\xC0\xA0", "a ", 0},                          // an overlong blank is a blank
        {"\xF8\x80\x81\x81", "\xC3\xB8\x80\x81\x81", 0},  // F8 starts no sequence: it stands for itself
        {"\xFF\x80\x80\x80", "\xC3\xBF\x80\x80\x80", 0},
        {"\xF8\x80\x81\x81", "a", 1},                     // and is no four-byte form of "A"
        {"\xC1\x81", "a", 0},                             // an overlong "A" is still read as one
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.a)) + " / " + ::testing::PrintToString(std::string(c.b)));
        EXPECT_EQ(Signo(dao::CompareText(c.a, c.b)), c.signo);
        EXPECT_EQ(Plegado(c.a) == Plegado(c.b), c.signo == 0);
    }
    EXPECT_EQ(Plegado("a \xC0\xA0"), Plegado("a"));  // blanks at the end, in whatever form, are dropped
}
