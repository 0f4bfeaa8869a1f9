// The text rule's byte path for ASCII gives what the rule gives by code
// point, over random Windows-1252 texts made to differ where it matters:
// case, accents, a letter changed, cut short, trailing blanks, bytes that
// are no valid UTF-8.
#include <gtest/gtest.h>

#include <random>
#include <string>

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
