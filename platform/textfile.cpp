#include "platform/textfile.h"

#include <sys/types.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/error.h"
#include "platform/filenames.h"

namespace zv::text {

namespace {

// Code points of bytes 0x80..0x9F. The five bytes Windows-1252 leaves
// undefined map to the C1 control of the same number, as Windows does,
// so that every byte survives a round trip.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one code point at s[i], advancing i; kInvalid (one byte consumed)
// for a malformed sequence.
char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
    auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = b0 >= 0xC2 && b0 < 0xE0 ? 1 : b0 >= 0xE0 && b0 < 0xF0 ? 2 : b0 >= 0xF0 && b0 < 0xF5 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return kInvalid;
    }
    char32_t cp = b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kInvalid;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kInvalid;
    }
    i += extra + 1;
    return cp;
}

int ToCp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp) return 0x80 + k;
    return -1;
}

char32_t UpperOf(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 0x20;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;  // à..þ except ÷
    switch (cp) {
        case 0xFF: return 0x178;   // ÿ
        case 0x161: return 0x160;  // š
        case 0x153: return 0x152;  // œ
        case 0x17E: return 0x17D;  // ž
        default: break;
    }
    // Latin Extended-A pairs (even upper, odd lower) beyond the ones above.
    if (cp >= 0x100 && cp <= 0x137 && (cp & 1)) return cp - 1;
    return cp;
}

// Byte offset of the character number index (0-based), or s.size().
std::size_t OffsetOfChar(std::string_view s, std::size_t index) {
    std::size_t i = 0;
    while (index > 0 && i < s.size()) {
        DecodeUtf8(s, i);
        --index;
    }
    return i;
}


// A read the system refused (a medium pulled out, a failing disk).
Error ReadError() { return Error(fileerr::DeviceIO, "Error de E/S en el dispositivo"); }

std::FILE* OpenFile(const std::filesystem::path& asked, const char* mode, bool writing) {
    auto path = files::Resolve(asked);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw Error(fileerr::PathFileAccess, "Error de acceso a la ruta o el archivo");
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) throw FileOpenError(path, errno, writing);
    return f;
}

}  // namespace

std::size_t AsciiPrefix(std::string_view s) {
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL) break;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
}

namespace {

void AssignFromCp1252(std::string_view bytes, std::string& out) {
    std::size_t ascii = AsciiPrefix(bytes);
    out.assign(bytes.data(), ascii);
    if (ascii == bytes.size()) return;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (std::size_t i = ascii; i < bytes.size();) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            // the run of ASCII bytes up to the next letter that is not
            std::size_t run = AsciiPrefix(bytes.substr(i));
            out.append(bytes.data() + i, run);
            i += run;
            continue;
        }
        AppendUtf8(out, b < 0xA0 ? kHigh[b - 0x80] : b);
        ++i;
    }
}

}  // namespace

std::string FromCp1252(std::string_view bytes) {
    std::string out;
    AssignFromCp1252(bytes, out);
    return out;
}

void ToCp1252(std::string_view utf8, std::string& out) {
    std::size_t ascii = AsciiPrefix(utf8);
    out.assign(utf8.data(), ascii);
    for (std::size_t i = ascii; i < utf8.size();) {
        char32_t cp = DecodeUtf8(utf8, i);
        int b = cp == kInvalid ? -1 : ToCp1252Byte(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
}

std::string ToCp1252(std::string_view utf8) {
    std::string out;
    ToCp1252(utf8, out);
    return out;
}

std::string UpperCase(std::string_view utf8) {
    std::size_t ascii = AsciiPrefix(utf8);
    std::string out(utf8.substr(0, ascii));
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    if (ascii == utf8.size()) return out;
    out.reserve(utf8.size());
    for (std::size_t i = ascii; i < utf8.size();) {
        std::size_t start = i;
        char32_t cp = DecodeUtf8(utf8, i);
        if (cp == kInvalid) out.append(utf8.substr(start, i - start));
        else AppendUtf8(out, UpperOf(cp));
    }
    return out;
}

std::size_t Length(std::string_view utf8) {
    std::size_t n = AsciiPrefix(utf8);
    for (std::size_t i = n; i < utf8.size(); ++n) DecodeUtf8(utf8, i);
    return n;
}

std::string Mid(std::string_view utf8, std::size_t start1, std::size_t count) {
    if (start1 == 0) start1 = 1;
    std::size_t from = OffsetOfChar(utf8, start1 - 1);
    std::string_view rest = utf8.substr(from);
    if (count == std::string::npos) return std::string(rest);
    return std::string(rest.substr(0, OffsetOfChar(rest, count)));
}

std::string Left(std::string_view utf8, std::size_t count) {
    return std::string(utf8.substr(0, OffsetOfChar(utf8, count)));
}

std::string Right(std::string_view utf8, std::size_t count) {
    std::size_t n = Length(utf8);
    return count >= n ? std::string(utf8) : Mid(utf8, n - count + 1);
}

std::string Trim(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

// ---- TextReader ----

TextReader::TextReader(const std::filesystem::path& path) { Open(path); }
TextReader::~TextReader() {
    Close();
    std::free(buffer_);
}
TextReader::TextReader(TextReader&& o) noexcept : f_(o.f_), buffer_(o.buffer_), capacity_(o.capacity_) {
    o.f_ = nullptr;
    o.buffer_ = nullptr;
    o.capacity_ = 0;
}
TextReader& TextReader::operator=(TextReader&& o) noexcept {
    if (this != &o) {
        Close();
        std::free(buffer_);
        f_ = o.f_;
        buffer_ = o.buffer_;
        capacity_ = o.capacity_;
        o.f_ = nullptr;
        o.buffer_ = nullptr;
        o.capacity_ = 0;
    }
    return *this;
}

void TextReader::Open(const std::filesystem::path& path) {
    if (f_) throw Error(fileerr::FileAlreadyOpen, "El archivo ya está abierto");
    f_ = OpenFile(path, "rb", false);
}

bool TextReader::IsOpen() const { return f_ != nullptr; }

bool TextReader::ReadLine(std::string& line) {
    line.clear();
    if (!f_) return false;
    // A whole line at a time (NUL bytes included), in a buffer kept from line to line.
    ssize_t read = ::getdelim(&buffer_, &capacity_, '\n', f_);
    // getdelim answers a failed read as it answers the end, and a line the
    // failure cut short as a whole one: only the stream's error flag tells.
    if (std::ferror(f_)) throw ReadError();
    if (read <= 0) return false;
    std::string_view bytes(buffer_, static_cast<std::size_t>(read));
    if (bytes.back() == '\n') bytes.remove_suffix(1);
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    AssignFromCp1252(bytes, line);
    return true;
}

bool TextReader::Eof() {
    if (!f_) return true;
    int c = std::getc(f_);
    if (std::ferror(f_)) throw ReadError();
    if (c == EOF) return true;
    std::ungetc(c, f_);
    return false;
}

void TextReader::Close() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
}

// ---- TextWriter ----

TextWriter::TextWriter(const std::filesystem::path& path, WriteMode mode) { Open(path, mode); }
TextWriter::~TextWriter() {
    if (f_) std::fclose(f_);  // no throwing from a destructor
}
TextWriter::TextWriter(TextWriter&& o) noexcept : f_(o.f_) { o.f_ = nullptr; }
TextWriter& TextWriter::operator=(TextWriter&& o) noexcept {
    if (this != &o) {
        if (f_) std::fclose(f_);
        f_ = o.f_;
        o.f_ = nullptr;
    }
    return *this;
}

void TextWriter::Open(const std::filesystem::path& path, WriteMode mode) {
    if (f_) throw Error(fileerr::FileAlreadyOpen, "El archivo ya está abierto");
    f_ = OpenFile(path, mode == WriteMode::Append ? "ab" : "wb", true);
}

bool TextWriter::IsOpen() const { return f_ != nullptr; }

void TextWriter::Write(std::string_view utf8) {
    if (!f_) throw Error(fileerr::BadFileNameOrNumber, "Nombre o número de archivo incorrecto");
    std::string bytes = ToCp1252(utf8);
    if (std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size())
        throw Error(fileerr::DeviceIO, "Error de E/S en el dispositivo");
}

void TextWriter::WriteLine(std::string_view utf8) {
    Write(utf8);
    Write("\r\n");
}

void TextWriter::Close() {
    if (!f_) return;
    bool failed = std::fflush(f_) != 0 || std::ferror(f_);
    failed = std::fclose(f_) != 0 || failed;
    f_ = nullptr;
    if (failed) throw Error(fileerr::DeviceIO, "Error de E/S en el dispositivo");
}

// ---- whole files ----

std::string ReadAll(const std::filesystem::path& path) {
    std::FILE* f = OpenFile(path, "rb", false);
    std::string bytes;
    char buf[8192];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    bool failed = std::ferror(f);
    std::fclose(f);
    if (failed) throw ReadError();
    return FromCp1252(bytes);
}

void WriteAll(const std::filesystem::path& path, std::string_view utf8) {
    TextWriter w(path, WriteMode::Output);
    w.Write(utf8);
    w.Close();
}

Error FileOpenError(const std::filesystem::path& path, int err, bool writing) {
    std::error_code ec;
    auto parent = path.parent_path();
    if (err == ENOENT && !parent.empty() && !std::filesystem::is_directory(parent, ec))
        return Error(fileerr::PathNotFound, "No se encontró la ruta de acceso");
    if (err == ENOENT && !writing) return Error(fileerr::FileNotFound, "No se encontró el archivo");
    if (err == EACCES || err == EPERM || err == EROFS)
        return Error(fileerr::PermissionDenied, "Permiso denegado");
    if (err == ENAMETOOLONG || err == EINVAL) return Error(fileerr::BadFileName, "Nombre de archivo incorrecto");
    return Error(fileerr::PathFileAccess, "Error de acceso a la ruta o el archivo");
}

}  // namespace zv::text
