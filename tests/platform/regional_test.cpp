#include "platform/regional.h"

#include <gtest/gtest.h>

#include <clocale>

#include "platform/profile.h"
#include "tests/support/support.h"

namespace {

using namespace zv::regional;
namespace fs = std::filesystem;

class RegionalTest : public ::testing::Test {
protected:
    zvtest::TempDir windir;
    zvtest::ScopedEnv env{"ZARVO_WINDIR", windir.path().string()};
    void SetUp() override { std::setlocale(LC_ALL, "C"); }
};

struct Expected {
    LocaleValue value;
    const char* key;
    const char* written;   // what the installation writes
    const char* cLocale;   // what the "C" locale gives when the key is absent
};

const Expected kTable[] = {
    {LocaleValue::SDate, "sDate", "/", "/"},
    {LocaleValue::SShortDate, "sShortDate", "dd/MM/yyyy", "MM/dd/yy"},
    {LocaleValue::STime, "sTime", ":", ":"},
    {LocaleValue::STimeFormat, "sTimeFormat", "hh:mm:ss tt", "HH:mm:ss"},
    {LocaleValue::SDecimal, "sDecimal", ".", "."},
    {LocaleValue::SThousand, "sThousand", ",", ","},
    {LocaleValue::IDigits, "iDigits", "2", "2"},
    {LocaleValue::SNegativeSign, "sNegativeSign", "-", "-"},
    {LocaleValue::INegNumber, "iNegNumber", "1", "1"},
    {LocaleValue::ILZero, "iLZero", "1", "1"},
    {LocaleValue::SMonDecimalSep, "sMonDecimalSep", ".", "."},
    {LocaleValue::SMonThousandSep, "sMonThousandSep", ",", ","},
    {LocaleValue::ICurrDigits, "iCurrDigits", "2", "2"},
    {LocaleValue::ICurrency, "iCurrency", "0", "0"},
    {LocaleValue::INegCurr, "iNegCurr", "2", "0"},
};

TEST_F(RegionalTest, AbsentKeysTakeTheProcessLocale) {
    for (const auto& e : kTable) {
        EXPECT_STREQ(IntlKey(e.value), e.key);
        EXPECT_EQ(GetLocaleInfo(e.value), e.cLocale) << e.key;  // no WIN.INI at all
    }
    ASSERT_TRUE(zv::profile::WriteProfileString("intl", "sCountry", "Peru"));
    for (const auto& e : kTable) EXPECT_EQ(GetLocaleInfo(e.value), e.cLocale) << e.key;
}

TEST_F(RegionalTest, ValuesWrittenIntoWinIniAreReadBack) {
    for (const auto& e : kTable) ASSERT_TRUE(zv::profile::WriteProfileString("intl", e.key, e.written));
    for (const auto& e : kTable) EXPECT_EQ(GetLocaleInfo(e.value, 100), e.written) << e.key;

    ASSERT_TRUE(zv::profile::WriteProfileString("INTL", "SDECIMAL", ","));
    EXPECT_EQ(GetLocaleInfo(LocaleValue::SDecimal), ",");
    ASSERT_TRUE(zv::profile::WriteProfileString("intl", "sDate", ""));
    EXPECT_EQ(GetLocaleInfo(LocaleValue::SDate), "");  // present but empty is not absent
}

TEST_F(RegionalTest, ValueIsCutToTheBuffer) {
    ASSERT_TRUE(zv::profile::WriteProfileString("intl", "sShortDate", "dd/MM/yyyy"));
    EXPECT_EQ(GetLocaleInfo(LocaleValue::SShortDate, 3), "dd");
    EXPECT_EQ(GetLocaleInfo(LocaleValue::SShortDate, 1), "");
}

TEST_F(RegionalTest, AnUnreadableWinIniGivesNoValue) {
    fs::create_directory(windir.path() / "win.ini");  // exists, cannot be read as a file
    EXPECT_EQ(GetLocaleInfo(LocaleValue::SDecimal), std::nullopt);
}

}  // namespace
