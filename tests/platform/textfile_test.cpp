#include "platform/textfile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "platform/error.h"
#include "tests/support/lectura_que_falla.h"
#include "tests/support/support.h"

namespace {

using namespace zv::text;
namespace fs = std::filesystem;

const std::string kAccents = "ÁÉÍÓÚÑáéíóúñº¿¡";
const std::string kAccentBytes = "\xC1\xC9\xCD\xD3\xDA\xD1\xE1\xE9\xED\xF3\xFA\xF1\xBA\xBF\xA1";

std::string RawBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteRaw(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::vector<std::string> Lines(const fs::path& p) {
    TextReader r(p);
    std::vector<std::string> out;
    std::string line;
    while (r.ReadLine(line)) out.push_back(line);
    return out;
}

long ErrorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const zv::Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(Cp1252, AccentsRoundTripThroughFile) {
    EXPECT_EQ(ToCp1252(kAccents), kAccentBytes);
    EXPECT_EQ(FromCp1252(kAccentBytes), kAccents);

    zvtest::TempDir dir;
    auto file = dir.path() / "acentos.txt";
    TextWriter w(file, WriteMode::Output);
    w.WriteLine(kAccents);
    w.Close();
    EXPECT_EQ(RawBytes(file), kAccentBytes + "\r\n");
    EXPECT_EQ(Lines(file), std::vector<std::string>{kAccents});
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80\x93\x94"), "€“”");
}

TEST(Cp1252, CharactersWithoutAByteBecomeQuestionMarks) {
    EXPECT_EQ(ToCp1252("a日b"), "a?b");
    EXPECT_EQ(ToCp1252("a\xFF" "b"), "a?b");      // malformed UTF-8
    EXPECT_EQ(ToCp1252("\xC3"), "?");             // cut sequence
}

TEST(TextReader, AcceptsCrLfAndLfLines) {
    zvtest::TempDir dir;
    struct Case { std::string bytes; std::vector<std::string> lines; };
    const Case cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"x\r\n\r\n", {"x", ""}},
        {"\n\n", {"", ""}},
        {"", {}},
        {"sin fin\r", {"sin fin"}},
        {"a\rb\n", {"a\rb"}},  // a lone CR is part of the line
        {"\xD1" "and\xFA\r\n", {"Ñandú"}},
    };
    for (const auto& c : cases) {
        WriteRaw(dir.path() / "f.txt", c.bytes);
        EXPECT_EQ(Lines(dir.path() / "f.txt"), c.lines) << c.bytes;
    }
}

TEST(TextReader, EofBeforeAndAfterTheLastLine) {
    zvtest::TempDir dir;
    WriteRaw(dir.path() / "f.txt", "uno\r\n");
    TextReader r(dir.path() / "f.txt");
    std::string line;
    EXPECT_FALSE(r.Eof());
    EXPECT_TRUE(r.ReadLine(line));
    EXPECT_TRUE(r.Eof());
    EXPECT_FALSE(r.ReadLine(line));
}

// A read that fails part-way (a medium pulled out, a failing disk) is the
// device error, never the end of the file: the lines before it are read,
// and the line it cuts is not given as a whole one.
TEST(TextReader, AFailedReadIsTheDeviceErrorNotTheEnd) {
    struct Caso {
        std::size_t leidos;  // bytes read before the failure
        std::vector<std::string> lineas;
    };
    const std::string contenido = "uno\r\ndos\r\ntres\r\n";
    const std::vector<Caso> casos = {
        {0, {}},                // the first read fails
        {7, {"uno"}},           // in the middle of a line
        {10, {"uno", "dos"}},   // at the start of one
        {14, {"uno", "dos"}},   // before the last CR LF
    };
    zvtest::TempDir dir;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.leidos);
        zvtest::LecturaQueFalla archivo(dir.path() / "f.txt", contenido, c.leidos);
        TextReader r(dir.path() / "f.txt");
        std::vector<std::string> leidas;
        std::string line;
        try {
            while (r.ReadLine(line)) leidas.push_back(line);
            ADD_FAILURE() << "the failed read was taken for the end";
        } catch (const zv::Error& e) {
            EXPECT_EQ(e.Number(), zv::fileerr::DeviceIO);
            EXPECT_EQ(e.Description(), "Error de E/S en el dispositivo");
        }
        EXPECT_EQ(leidas, c.lineas);
        r.Close();
    }
}

TEST(TextFiles, OpenFailuresCarryFileErrorNumbers) {
    zvtest::TempDir dir;
    fs::create_directory(dir.path() / "carpeta");
    EXPECT_EQ(ErrorNumberOf([&] { TextReader r(dir.path() / "no.txt"); }), zv::fileerr::FileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { TextReader r(dir.path() / "nada" / "no.txt"); }), zv::fileerr::PathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { TextWriter w(dir.path() / "nada" / "x.txt", WriteMode::Output); }),
              zv::fileerr::PathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { TextReader r(dir.path() / "carpeta"); }), zv::fileerr::PathFileAccess);
    EXPECT_EQ(ErrorNumberOf([&] { TextWriter w(dir.path() / "carpeta", WriteMode::Append); }),
              zv::fileerr::PathFileAccess);
}

TEST(TextFiles, NamesMatchWithoutRegardToCase) {
    zvtest::TempDir dir;
    WriteRaw(dir.path() / "x.err", "viejo\r\n");
    EXPECT_EQ(Lines(dir.path() / "X.ERR"), std::vector<std::string>{"viejo"});
    TextWriter w(dir.path() / "X.Err", WriteMode::Output);  // overwrites x.err
    w.WriteLine("nuevo");
    w.Close();
    EXPECT_EQ(RawBytes(dir.path() / "x.err"), "nuevo\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "X.Err"));
}

TEST(TextFiles, AppendKeepsWhatWasThere) {
    zvtest::TempDir dir;
    auto file = dir.path() / "log.txt";
    WriteAll(file, "uno\r\n");
    TextWriter w(file, WriteMode::Append);
    w.Write("do");
    w.WriteLine("s");
    w.Close();
    EXPECT_EQ(ReadAll(file), "uno\r\ndos\r\n");
}

TEST(Characters, UpperCaseOfAccentedLetters) {
    const std::pair<std::string, std::string> cases[] = {
        {"áéíóúñü", "ÁÉÍÓÚÑÜ"}, {"señor ruiz", "SEÑOR RUIZ"}, {"ÁÑ12-x", "ÁÑ12-X"},
        {"ÿšœž", "ŸŠŒŽ"},       {"ºß¿÷", "ºß¿÷"},           {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(UpperCase(in), out) << in;
}

TEST(Characters, MidLeftRightCountCharactersNotBytes) {
    EXPECT_EQ(Length("Ñandú"), 5u);
    EXPECT_EQ(Mid("Señor", 3, 2), "ño");
    EXPECT_EQ(Mid("Señor", 3), "ñor");
    EXPECT_EQ(Mid("Señor", 9, 2), "");
    EXPECT_EQ(Mid("Señor", 4, 99), "or");
    EXPECT_EQ(Left("Ñandú", 2), "Ña");
    EXPECT_EQ(Left("Ñandú", 20), "Ñandú");
    EXPECT_EQ(Right("Ñandú", 2), "dú");
    EXPECT_EQ(Right("Ñandú", 9), "Ñandú");
    EXPECT_EQ(Trim("  a b\t "), "a b\t");
    EXPECT_EQ(Trim("   "), "");
}

}  // namespace
