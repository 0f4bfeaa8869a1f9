#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "platform/error.h"
#include "shared/formato.h"

namespace {

using zv::Currency;

struct Caso {
    const char* pattern;
    const char* value;  // read exactly as a currency amount
    const char* expected;
};

Currency Amount(const char* text) { return *Currency::Parse(text); }

class FormatCurrency : public testing::TestWithParam<Caso> {};

TEST_P(FormatCurrency, LaysTheAmountOnThePattern) {
    const Caso& c = GetParam();
    EXPECT_EQ(zv::Format(Amount(c.value), c.pattern), c.expected) << c.pattern << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Patrones, FormatCurrency,
    testing::Values(
        Caso{"###,###,###,##0.00", "0", "0.00"},
        Caso{"###,###,###,##0.00", "1234567.891", "1,234,567.89"},
        Caso{"###,###,###,##0.00", "999.995", "1,000.00"},
        Caso{"###,###,###,##0.00", "0.005", "0.01"},
        Caso{"###,###,###,##0.00", "-0.005", "-0.01"},
        Caso{"###,###,###,##0.00", "-1234.5", "-1,234.50"},
        Caso{"###,###,###,##0.00", "123456789012345.67", "123,456,789,012,345.67"},
        Caso{"(###,###,###,##0.00)", "1234.5", "(1,234.50)"},
        Caso{"(##,###,###,##0.00)", "0.4", "(0.40)"},
        Caso{"###########0", "0", "0"},
        Caso{"###########0", "0.5", "1"},
        Caso{"###########0", "2.5", "3"},
        Caso{"###########0", "-2.5", "-3"},
        Caso{"###########0", "-0.4", "0"},
        Caso{"###########0", "1234567.49", "1234567"},
        Caso{"###########0.00", "12.345", "12.35"},
        Caso{"###########0.00", "-12.344", "-12.34"},
        Caso{"##########0", "593", "593"},
        Caso{"#########0", "10000000000", "10000000000"},
        Caso{"###,###,###,##0", "1234567.5", "1,234,568"},
        Caso{"###,###,###,##0", "999", "999"},
        Caso{"###,###,###,##0", "-1000", "-1,000"},
        Caso{"(##,###,###,##0)", "1234", "(1,234)"},
        Caso{"###,###,###,##0;(###,###,###,##0)", "1234567", "1,234,567"},
        Caso{"###,###,###,##0;(###,###,###,##0)", "-1234567", "(1,234,567)"},
        Caso{"###,###,###,##0;(###,###,###,##0)", "-0.5", "(1)"},
        Caso{"###,###,###,##0;(###,###,###,##0)", "-0.4", "0"},
        Caso{"###,###,###,##0;(###,###,###,##0)", "0", "0"},
        Caso{"0#/####", "12024", "01/2024"},
        Caso{"0#/####", "122025", "12/2025"},
        Caso{"0#/####", "0", "0/"},
        Caso{"###,###,###,###.##", "0", "."},
        Caso{"###,###,###,###.##", "1234.5", "1,234.5"},
        Caso{"###,###,###,###.##", "1234", "1,234."},
        Caso{"###,###,###,###.##", "0.505", ".51"},
        Caso{"###,###,###,###.##", "-1234.56", "-1,234.56"}));

TEST(Format, DoublesRoundAsTheyRead) {
    EXPECT_EQ(zv::Format(2.675, "###########0.00"), "2.68");
    EXPECT_EQ(zv::Format(1.005, "###,###,###,##0.00"), "1.01");
    EXPECT_EQ(zv::Format(-2.5, "###########0"), "-3");
    EXPECT_EQ(zv::Format(0.0, "###,###,###,###.##"), ".");
    EXPECT_EQ(zv::Format(-0.0, "###########0"), "0");
    EXPECT_EQ(zv::Format(1e15, "###,###,###,##0"), "1,000,000,000,000,000");
}

TEST(Format, WholeNumbers) {
    EXPECT_EQ(zv::Format(12024LL, "0#/####"), "01/2024");
    EXPECT_EQ(zv::Format(-42LL, "###,###,###,##0;(###,###,###,##0)"), "(42)");
    EXPECT_EQ(zv::Format(9223372036854775807LL, "###########0"), "9223372036854775807");
    EXPECT_EQ(zv::Format(-9223372036854775807LL - 1, "###,###,###,##0"),
              "-9,223,372,036,854,775,808");
}

TEST(Format, TextIsReadAsANumberFirst) {
    EXPECT_EQ(zv::FormatText("1234.565", "###,###,###,##0.00"), "1,234.57");
    EXPECT_EQ(zv::FormatText("  -15.5 ", "###########0"), "-16");
    EXPECT_EQ(zv::FormatText("abc", "###########0.00"), "0.00");
    EXPECT_EQ(zv::FormatText("", "###,###,###,###.##"), ".");
    EXPECT_EQ(zv::FormatText("1.5E3", "###########0"), "1500");
    EXPECT_EQ(zv::FormatText("12 34xyz", "###########0"), "1234");
}

TEST(Val, LeadingNumber) {
    EXPECT_DOUBLE_EQ(zv::Val("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(zv::Val("-3"), -3.0);
    EXPECT_DOUBLE_EQ(zv::Val("+7"), 7.0);
    EXPECT_DOUBLE_EQ(zv::Val("1 2 3"), 123.0);
    EXPECT_DOUBLE_EQ(zv::Val("0841"), 841.0);
    EXPECT_DOUBLE_EQ(zv::Val("2e2"), 200.0);
    EXPECT_DOUBLE_EQ(zv::Val("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(zv::Val("abc"), 0.0);
    EXPECT_DOUBLE_EQ(zv::Val(""), 0.0);
    EXPECT_DOUBLE_EQ(zv::Val("."), 0.0);
}

TEST(NumberText, ValsNumberWrittenBackWhateverItsSize) {
    EXPECT_EQ(zv::NumberText("-1500"), "-1500");
    EXPECT_EQ(zv::NumberText(" 351 "), "351");
    EXPECT_EQ(zv::NumberText("12.50"), "12.5");
    EXPECT_EQ(zv::NumberText("0.99999"), "1");
    EXPECT_EQ(zv::NumberText("-0.00001"), "0");
    EXPECT_EQ(zv::NumberText("abc"), "0");
    EXPECT_EQ(zv::NumberText("999999999999999"), "999999999999999");
    EXPECT_EQ(zv::NumberText("-9223372036854775809"), "-9223372036854775809");
    EXPECT_EQ(zv::NumberText("1e20"), "100000000000000000000");
}

// The error an operation throws: its number, 0 when it throws none.
long ErrorOf(const std::function<void()>& operacion) {
    try {
        operacion();
    } catch (const zv::Error& e) {
        EXPECT_EQ(e.Description(), "Desbordamiento");
        return e.Number();
    }
    return 0;
}

TEST(Currency, BeyondItsRangeIsOverflowError6) {
    const Currency mayor = Currency::FromRaw(std::numeric_limits<std::int64_t>::max());
    const Currency menor = Currency::FromRaw(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(ErrorOf([] { Currency::FromDouble(999999999999999.0); }), 6);
    EXPECT_EQ(ErrorOf([] { Currency::FromDouble(-1e20); }), 6);
    EXPECT_EQ(ErrorOf([] { Currency::FromDouble(std::nan("")); }), 6);
    EXPECT_EQ(ErrorOf([] { Currency::FromDouble(std::numeric_limits<double>::infinity()); }), 6);
    EXPECT_EQ(ErrorOf([] { Currency::FromUnits(922337203685478); }), 6);
    EXPECT_EQ(ErrorOf([&] { (void)-menor; }), 6);
    EXPECT_EQ(ErrorOf([&] { (void)(mayor + Currency::FromRaw(1)); }), 6);
    EXPECT_EQ(ErrorOf([&] { (void)(menor - Currency::FromRaw(1)); }), 6);
    EXPECT_EQ(ErrorOf([&] { (void)mayor.Rounded(0); }), 6);
    // At the edges, inside the range, nothing is refused.
    EXPECT_EQ(Currency::FromUnits(922337203685477).Raw(), 9223372036854770000);
    EXPECT_EQ(Currency::FromDouble(-922337203685.4).Raw(), -9223372036854000);
    EXPECT_EQ(menor.ToString(), "-922337203685477.5808");
    EXPECT_EQ(mayor.ToString(), "922337203685477.5807");
    EXPECT_EQ((-mayor).ToString(), "-922337203685477.5807");
    EXPECT_EQ(menor.RoundedUnits(), -922337203685478);
    EXPECT_FALSE(Currency::Parse("999999999999999"));
    Currency suma = mayor;
    EXPECT_FALSE(suma.TryAdd(Currency::FromRaw(1)));
}

}  // namespace
