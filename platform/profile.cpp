#include "platform/profile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/filenames.h"
#include "platform/replace_file.h"
#include "platform/textfile.h"

namespace zv::profile {

namespace fs = std::filesystem;

namespace {

// One line of the file as its raw Windows-1252 bytes, with its own line end,
// so that a write gives back every other line byte for byte.
struct RawLine {
    std::string body;  // without the line end
    std::string end;   // "\r\n", "\n", "\r" or "" (last line)
};

std::string TrimBlanks(std::string_view s) {
    const char* ws = " \t";
    std::size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(ws);
    return std::string(s.substr(b, e - b + 1));
}

bool SameName(std::string_view a, std::string_view b) {
    return text::UpperCase(a) == text::UpperCase(b);
}

// The section name of a "[name]" line, in UTF-8.
std::optional<std::string> SectionOf(const RawLine& line) {
    std::string t = TrimBlanks(line.body);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return text::FromCp1252(TrimBlanks(std::string_view(t).substr(1, close - 1)));
}

// The key and value of a "key=value" line, in UTF-8.
bool KeyValueOf(const RawLine& line, std::string& key, std::string& value) {
    std::size_t eq = line.body.find('=');
    if (eq == std::string::npos) return false;
    std::string k = TrimBlanks(std::string_view(line.body).substr(0, eq));
    if (k.empty() || k.front() == ';') return false;
    std::string v = TrimBlanks(std::string_view(line.body).substr(eq + 1));
    // A value quoted whole loses its quotes, as the old profile calls did.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    key = text::FromCp1252(k);
    value = text::FromCp1252(v);
    return true;
}

// A line ends at CR LF, LF or a lone CR: a file saved by an editor of old
// Macs, or cut after its CR, must not glue the next key written onto its
// last line.
std::vector<RawLine> SplitLines(const std::string& bytes) {
    std::vector<RawLine> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        RawLine line;
        if (end == std::string::npos) {
            line.body = bytes.substr(pos);
            pos = bytes.size();
        } else {
            line.body = bytes.substr(pos, end - pos);
            std::size_t endLength = bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
            line.end = bytes.substr(end, endLength);
            pos = end + endLength;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

enum class ReadStatus { Ok, Missing, Unreadable };

ReadStatus ReadRaw(const fs::path& path, std::string& bytes) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return ReadStatus::Missing;
    if (fs::is_directory(path, ec)) return ReadStatus::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadStatus::Unreadable;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? ReadStatus::Unreadable : ReadStatus::Ok;
}

// The value of [section] key in the lines; the first such key of the first
// such section wins.
std::optional<std::string> FindValue(const std::vector<RawLine>& lines, std::string_view section,
                                     std::string_view key) {
    bool inSection = false, seenSection = false;
    for (const auto& line : lines) {
        if (auto name = SectionOf(line)) {
            if (inSection) return std::nullopt;
            inSection = !seenSection && SameName(*name, section);
            seenSection = seenSection || inSection;
            continue;
        }
        std::string k, v;
        if (inSection && KeyValueOf(line, k, v) && SameName(k, key)) return v;
    }
    return std::nullopt;
}

// Cuts to size - 1 characters and returns the length, as the old call did.
int CopyCut(std::string_view value, std::string& out, int size) {
    if (size <= 0) {
        out.clear();
        return 0;
    }
    out = text::Left(value, static_cast<std::size_t>(size - 1));
    return static_cast<int>(text::Length(out));
}

std::string RawKeyLine(std::string_view key, std::string_view value) {
    return text::ToCp1252(key) + "=" + text::ToCp1252(value);
}

// Puts key=value into the lines: replaces the key's line, or adds one after
// the last entry of the section, or adds the section at the end.
void SetValue(std::vector<RawLine>& lines, std::string_view section, std::string_view key,
              std::string_view value) {
    std::optional<std::size_t> sectionLine, lastEntry;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionOf(lines[i])) {
            if (sectionLine) break;
            if (SameName(*name, section)) sectionLine = lastEntry = i;
            continue;
        }
        if (!sectionLine) continue;
        std::string k, v;
        if (KeyValueOf(lines[i], k, v) && SameName(k, key)) {
            lines[i].body = RawKeyLine(k, value);  // the key keeps its spelling
            return;
        }
        if (!TrimBlanks(lines[i].body).empty()) lastEntry = i;
    }
    std::size_t at = sectionLine ? *lastEntry + 1 : lines.size();
    // The line before the new one ends in CR LF, whatever it ended in: a
    // reader that knows only LF still finds the new key on a line of its own.
    if (at > 0 && lines[at - 1].end != "\r\n" && lines[at - 1].end != "\n") lines[at - 1].end = "\r\n";
    if (sectionLine) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), RawLine{RawKeyLine(key, value), "\r\n"});
        return;
    }
    lines.push_back(RawLine{"[" + text::ToCp1252(section) + "]", "\r\n"});
    lines.push_back(RawLine{RawKeyLine(key, value), "\r\n"});
}

// A failed write never leaves half a profile behind.
bool WriteRaw(const fs::path& path, const std::vector<RawLine>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line.body + line.end;
    std::error_code ec;
    return files::WriteReplacing(path, bytes, ec);
}

}  // namespace

fs::path WindowsDirectory() {
    if (const char* dir = std::getenv("ZARVO_WINDIR"); dir && *dir) {
        fs::path p(dir);
        return p.has_filename() ? p : p.parent_path();
    }
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return fs::path(home) / ".config" / "zarvo";
}

fs::path ResolveProfileFile(std::string_view fileName) {
    fs::path name{std::string(fileName)};
    if (!name.has_parent_path()) name = WindowsDirectory() / name;
    return files::Resolve(name);
}

std::optional<std::string> FindProfileValue(std::string_view section, std::string_view key,
                                            std::string_view fileName, bool* unreadable) {
    std::string bytes;
    ReadStatus status = ReadRaw(ResolveProfileFile(fileName), bytes);
    if (unreadable) *unreadable = status == ReadStatus::Unreadable;
    if (status != ReadStatus::Ok) return std::nullopt;
    return FindValue(SplitLines(bytes), section, key);
}

int GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                            std::string& out, int size, std::string_view fileName) {
    std::optional<std::string> value = FindProfileValue(section, key, fileName);
    if (!value) {
        // Trailing blanks of a default are dropped, as the old call did.
        std::string d(def);
        d.erase(d.find_last_not_of(' ') + 1);
        value = d;
    }
    return CopyCut(*value, out, size);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view fileName) {
    fs::path path = ResolveProfileFile(fileName);
    std::string bytes;
    ReadStatus status = ReadRaw(path, bytes);
    if (status == ReadStatus::Unreadable) return false;
    if (status == ReadStatus::Ok && access(path.c_str(), W_OK) != 0) return false;  // read-only file
    if (status == ReadStatus::Missing) {
        std::error_code ec;
        if (path.parent_path() == WindowsDirectory()) fs::create_directories(path.parent_path(), ec);
    }
    std::vector<RawLine> lines = SplitLines(bytes);
    SetValue(lines, section, key, value);
    return WriteRaw(path, lines);
}

int GetProfileString(std::string_view section, std::string_view key, std::string_view def, std::string& out,
                     int size) {
    return GetPrivateProfileString(section, key, def, out, size, "WIN.INI");
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
    return WritePrivateProfileString(section, key, value, "WIN.INI");
}

std::string ReadTrimmed(std::string_view section, std::string_view key, std::string_view fileName) {
    std::string out;
    GetPrivateProfileString(section, key, "", out, 255, fileName);
    return text::Trim(out);
}

}  // namespace zv::profile
