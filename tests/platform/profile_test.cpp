#include "platform/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>

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

TEST_F(ProfileTest, ALoneCrEndsALineForReadingAndWriting) {
    // The file as an earlier program left it: its last line ends in CR alone.
    Put("ZVBAS.INI", "[Options]\r\nSysUser=ana\r\nSysAsist0841=/zarvo/0841/\r");
    ASSERT_TRUE(WritePrivateProfileString("Options", "SystemDB", "/zarvo/ZVBAS.MDW", "ZVBAS.INI"));
    EXPECT_EQ(Bytes("ZVBAS.INI"),
              "[Options]\r\nSysUser=ana\r\nSysAsist0841=/zarvo/0841/\r\nSystemDB=/zarvo/ZVBAS.MDW\r\n");
    EXPECT_EQ(Read("Options", "SysAsist0841", "", 255, "ZVBAS.INI"), "/zarvo/0841/");
    EXPECT_EQ(Read("Options", "SystemDB", "", 255, "ZVBAS.INI"), "/zarvo/ZVBAS.MDW");
    // Inside the file too: a lone CR parts two keys, and stays as it was.
    Put("B.INI", "[s]\ra=1\rb=2\n[t]\rc=3");
    EXPECT_EQ(Read("s", "a", "", 255, "B.INI"), "1");
    EXPECT_EQ(Read("s", "b", "", 255, "B.INI"), "2");
    ASSERT_TRUE(WritePrivateProfileString("s", "a", "9", "B.INI"));
    EXPECT_EQ(Bytes("B.INI"), "[s]\ra=9\rb=2\n[t]\rc=3");
}

// Random profiles of every kind of line and line end: a write of one key
// reads back, and every other key keeps the value it had.
class ProfileFuzz : public ProfileTest {
protected:
    std::mt19937 azar{20261210};

    template <typename T>
    const T& Uno(const std::vector<T>& de) {
        return de[std::uniform_int_distribution<std::size_t>(0, de.size() - 1)(azar)];
    }
    std::string Valor(const std::string& letras, int largo) {
        std::string v;
        for (int i = 0; i < largo; ++i) v += letras[std::uniform_int_distribution<std::size_t>(0, letras.size() - 1)(azar)];
        return v;
    }

    const std::vector<std::string> secciones{"Options", "OPTIONS", "intl", "Otra Sección"};
    const std::vector<std::string> claves{"SysPath", "syspath", "DBName", "SysAsist0841", "Clave"};

    // One file's bytes, in Windows-1252.
    std::string Archivo() {
        const std::vector<std::string> fines{"\r\n", "\n", "\r"};
        std::string bytes;
        int lineas = std::uniform_int_distribution<int>(0, 12)(azar);
        for (int i = 0; i < lineas; ++i) {
            switch (std::uniform_int_distribution<int>(0, 6)(azar)) {
                case 0: bytes += "[" + zv::text::ToCp1252(Uno(secciones)) + "]"; break;
                case 1: bytes += "; " + Valor("ab =[]", 4); break;
                case 2: break;  // a blank line
                case 3: bytes += "sin igual"; break;
                case 4: bytes += " " + Uno(claves) + " = " + Valor("xy \"'", 3); break;
                default: bytes += Uno(claves) + "=" + Valor("abc/;=[]\xF1 ", 6); break;
            }
            if (i + 1 < lineas || std::uniform_int_distribution<int>(0, 1)(azar)) bytes += Uno(fines);
        }
        return bytes;
    }

    // Every section and key the lines could name, as read now.
    std::map<std::pair<std::string, std::string>, std::optional<std::string>> Todo() {
        std::map<std::pair<std::string, std::string>, std::optional<std::string>> todo;
        for (const auto& s : secciones)
            for (const auto& k : claves)
                todo[{zv::text::UpperCase(s), zv::text::UpperCase(k)}] = FindProfileValue(s, k, "F.INI");
        return todo;
    }
};

TEST_F(ProfileFuzz, AWriteReadsBackAndKeepsEveryOtherKey) {
    for (int vuelta = 0; vuelta < 600; ++vuelta) {
        const std::string antes = Archivo();
        Put("F.INI", antes);
        auto todo = Todo();
        const std::string seccion = Uno(secciones), clave = Uno(claves);
        const std::string valor = "v" + Valor("abc /.", 5) + "z";
        ASSERT_TRUE(WritePrivateProfileString(seccion, clave, valor, "F.INI"));
        SCOPED_TRACE("file: \"" + antes + "\", wrote [" + seccion + "] " + clave + "\nafter: \"" + Bytes("F.INI") + "\"");
        ASSERT_EQ(FindProfileValue(seccion, clave, "F.INI"), valor);
        todo[{zv::text::UpperCase(seccion), zv::text::UpperCase(clave)}] = valor;
        ASSERT_EQ(Todo(), todo);
    }
}

}  // namespace
