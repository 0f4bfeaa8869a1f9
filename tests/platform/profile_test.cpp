#include "platform/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/textfile.h"
#include "tests/support/support.h"

namespace {

using namespace zv::profile;
namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
protected:
    zvtest::TempDir windir;
    zvtest::ScopedEnv env{"ZARVO_WINDIR", windir.path().string()};

    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream(windir.path() / name, std::ios::binary) << bytes;
    }
    std::string Bytes(const std::string& name) {
        std::ifstream in(windir.path() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Read(std::string_view section, std::string_view key, std::string_view def, int size,
                     std::string_view file, int* length = nullptr) {
        std::string out = "basura";
        int n = GetPrivateProfileString(section, key, def, out, size, file);
        if (length) *length = n;
        return out;
    }
};

TEST_F(ProfileTest, ValueIsCutToTheBufferLessOne) {
    Put("ZVBAS.INI", std::string("[Options]\r\nSysPath=ABCDEFGHIJ\r\nNombre=\xC1\xC9\xCD\xD3\xDA\r\n"));
    struct Case { std::string key; int size; std::string value; };
    const Case cases[] = {
        {"SysPath", 255, "ABCDEFGHIJ"}, {"SysPath", 11, "ABCDEFGHIJ"}, {"SysPath", 5, "ABCD"},
        {"SysPath", 1, ""},             {"SysPath", 0, ""},            {"Nombre", 3, "ÁÉ"},
    };
    for (const auto& c : cases) {
        int length = -1;
        EXPECT_EQ(Read("Options", c.key, "", c.size, "ZVBAS.INI", &length), c.value) << c.size;
        EXPECT_EQ(length, static_cast<int>(zv::text::Length(c.value)));
    }
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    int length = -1;
    EXPECT_EQ(Read("Options", "SysPath", "por defecto", 255, "NOEXISTE.INI", &length), "por defecto");
    EXPECT_EQ(length, 11);
    Put("ZVBAS.INI", "[Otra]\r\nSysPath=x\r\n[Options]\r\nDBName=y\r\n");
    EXPECT_EQ(Read("Nada", "SysPath", "d", 255, "ZVBAS.INI"), "d");
    EXPECT_EQ(Read("Options", "SysPath", "d", 255, "ZVBAS.INI"), "d");  // only in another section
    EXPECT_EQ(Read("Options", "SysPath", "", 255, "ZVBAS.INI", &length), "");
    EXPECT_EQ(length, 0);
    EXPECT_EQ(Read("Options", "SysPath", "abcdef", 4, "ZVBAS.INI"), "abc");
    EXPECT_EQ(Read("Options", "SysPath", "con blancos   ", 255, "ZVBAS.INI"), "con blancos");
}

TEST_F(ProfileTest, SectionKeyAndFileMatchWithoutRegardToCase) {
    Put("ZvBas.Ini", "[Options]\r\nSysPath=/zarvo/\r\n");
    EXPECT_EQ(Read("OPTIONS", "syspath", "", 255, "ZVBAS.INI"), "/zarvo/");
    EXPECT_EQ(Read("options", "SYSPATH", "", 255, "zvbas.ini"), "/zarvo/");
    EXPECT_TRUE(WritePrivateProfileString("OPTIONS", "SYSPATH", "/otro/", "zvbas.ini"));
    EXPECT_EQ(Bytes("ZvBas.Ini"), "[Options]\r\nSysPath=/otro/\r\n");
    EXPECT_FALSE(fs::exists(windir.path() / "zvbas.ini"));
}

TEST_F(ProfileTest, BlanksAroundKeysAndValuesAndWholeQuotesAreDropped) {
    Put("A.INI", "[ S ]\r\n  k1 = valor con blancos  \r\nk2=\"entre comillas\"\r\nk3=\"solo una\r\n;k4=no\r\n");
    EXPECT_EQ(Read("S", "k1", "", 255, "A.INI"), "valor con blancos");
    EXPECT_EQ(Read("S", "k2", "", 255, "A.INI"), "entre comillas");
    EXPECT_EQ(Read("S", "k3", "", 255, "A.INI"), "\"solo una");
    EXPECT_EQ(Read("S", ";k4", "d", 255, "A.INI"), "d");
    EXPECT_EQ(ReadTrimmed("S", "k1", "A.INI"), "valor con blancos");
}

TEST_F(ProfileTest, WriteKeepsEveryOtherLineAndComment) {
    const std::string before =
        "; configuración\r\n"
        "[Options]\r\n"
        "SysPath=/zarvo/\r\n"
        "; comentario\n"
        "DBName=BASE.MDB\r\n"
        "\r\n"
        "[Otra]\r\n"
        "SysPath=no tocar\r\n"
        "sin igual\r\n";
    Put("ZVBAS.INI", before);

    ASSERT_TRUE(WritePrivateProfileString("options", "dbname", "NUEVA.MDB", "ZVBAS.INI"));
    std::string expected = before;
    expected.replace(expected.find("DBName=BASE.MDB"), 15, "DBName=NUEVA.MDB");
    EXPECT_EQ(Bytes("ZVBAS.INI"), expected);

    ASSERT_TRUE(WritePrivateProfileString("Options", "SystemDB", "/zarvo/ZVBAS.MDW", "ZVBAS.INI"));
    expected.insert(expected.find("\r\n\r\n[Otra]") + 2, "SystemDB=/zarvo/ZVBAS.MDW\r\n");
    EXPECT_EQ(Bytes("ZVBAS.INI"), expected);

    ASSERT_TRUE(WritePrivateProfileString("Nueva", "Clave", "Señal", "ZVBAS.INI"));
    expected += "[Nueva]\r\nClave=Se\xF1" "al\r\n";
    EXPECT_EQ(Bytes("ZVBAS.INI"), expected);
    EXPECT_EQ(Read("Nueva", "Clave", "", 255, "ZVBAS.INI"), "Señal");
}

TEST_F(ProfileTest, WriteCreatesTheFileAndEndsAnOpenLastLine) {
    ASSERT_TRUE(WriteProfileString("intl", "sDecimal", "."));
    EXPECT_EQ(Bytes("WIN.INI"), "[intl]\r\nsDecimal=.\r\n");
    Put("B.INI", "[s]\r\nk=v");
    ASSERT_TRUE(WritePrivateProfileString("s", "k2", "v2", "B.INI"));
    EXPECT_EQ(Bytes("B.INI"), "[s]\r\nk=v\r\nk2=v2\r\n");
    std::string out;
    EXPECT_EQ(GetProfileString("INTL", "SDECIMAL", "", out, 1024), 1);
    EXPECT_EQ(out, ".");
}

TEST_F(ProfileTest, AFileWithAFolderIsUsedAsGiven) {
    zvtest::TempDir other;
    auto file = (other.path() / "Propio.ini").string();
    ASSERT_TRUE(WritePrivateProfileString("s", "k", "v", file));
    EXPECT_TRUE(fs::exists(other.path() / "Propio.ini"));
    EXPECT_FALSE(fs::exists(windir.path() / "Propio.ini"));
    EXPECT_EQ(Read("s", "k", "", 255, file), "v");
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", (other.path() / "no" / "x.ini").string()));
}

TEST_F(ProfileTest, WindowsDirectoryComesFromTheEnvironment) {
    EXPECT_EQ(WindowsDirectory(), windir.path());
    zvtest::ScopedEnv slash("ZARVO_WINDIR", windir.path().string() + "/");
    EXPECT_EQ(WindowsDirectory(), windir.path());
    zvtest::ScopedEnv none("ZARVO_WINDIR", "");
    zvtest::ScopedEnv home("HOME", "/home/alguien");
    EXPECT_EQ(WindowsDirectory(), fs::path("/home/alguien/.config/zarvo"));
}

}  // namespace
