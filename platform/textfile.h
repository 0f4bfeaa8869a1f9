#pragma once
// Every text file the system exchanges: Windows-1252 on disk, UTF-8 in
// memory, CR LF written; readers accept CR LF and LF.
// Open failures raise zv::Error with the file-error numbers of error.h.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace zv::text {

std::string FromCp1252(std::string_view bytes);
// Characters with no Windows-1252 form become '?'.
std::string ToCp1252(std::string_view utf8);
// The same into `out` (its room kept from call to call).
void ToCp1252(std::string_view utf8, std::string& out);
// Upper case of a UTF-8 text, accented letters included (á -> Á, ñ -> Ñ).
std::string UpperCase(std::string_view utf8);
// Number of characters (code points) of a UTF-8 text.
std::size_t Length(std::string_view utf8);
// Mid$/Left$ over characters, 1-based like the old runtime; never throws.
std::string Mid(std::string_view utf8, std::size_t start1, std::size_t count = std::string::npos);
std::string Left(std::string_view utf8, std::size_t count);
std::string Right(std::string_view utf8, std::size_t count);
std::string Trim(std::string_view s);  // blanks only, like Trim$
// Bytes up to the first that is not ASCII (the whole text when all are):
// those read the same in either encoding.
std::size_t AsciiPrefix(std::string_view s);
// Appends code point cp to out, encoded as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// The error of a failed open or creation of path (err is errno): 76 when its
// folder is missing, 53 a missing file read, 70 no permission, 64 a bad
// name, else 75.
Error FileOpenError(const std::filesystem::path& path, int err, bool writing);

class TextReader {
public:
    TextReader() = default;
    explicit TextReader(const std::filesystem::path& path);  // throws zv::Error
    ~TextReader();
    TextReader(TextReader&&) noexcept;
    TextReader& operator=(TextReader&&) noexcept;
    void Open(const std::filesystem::path& path);
    bool IsOpen() const;
    // Next line without its CR LF / LF, as UTF-8; false at end of file.
    // A failed read is never taken for the end: it throws zv::Error 57, and
    // the line it cut short is not returned.
    bool ReadLine(std::string& line);
    bool Eof();  // throws zv::Error 57 on a failed read
    void Close();

private:
    std::FILE* f_ = nullptr;
    char* buffer_ = nullptr;  // the last line read, kept for the next
    std::size_t capacity_ = 0;
};

enum class WriteMode { Output, Append };

class TextWriter {
public:
    TextWriter() = default;
    TextWriter(const std::filesystem::path& path, WriteMode mode);  // throws zv::Error
    ~TextWriter();
    TextWriter(TextWriter&&) noexcept;
    TextWriter& operator=(TextWriter&&) noexcept;
    void Open(const std::filesystem::path& path, WriteMode mode);
    bool IsOpen() const;
    void Write(std::string_view utf8);      // no line end
    void WriteLine(std::string_view utf8);  // followed by CR LF
    void Close();                           // flushes; throws zv::Error 57 on a failed write

private:
    std::FILE* f_ = nullptr;
};

// Whole-file helpers for tests and small files.
std::string ReadAll(const std::filesystem::path& path);  // UTF-8
void WriteAll(const std::filesystem::path& path, std::string_view utf8);

}  // namespace zv::text
