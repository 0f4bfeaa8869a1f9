#pragma once
// Profile (INI) files: ZVBAS.INI and WIN.INI live in the "Windows directory",
// which here is the folder named by ZARVO_WINDIR (default ~/.config/zarvo).
// Text on disk is Windows-1252 with CR LF; strings in memory are UTF-8.
// Section, key and file names match without regard to case.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zv::profile {

std::filesystem::path WindowsDirectory();

// A file name without a folder names a file of the Windows directory
// (found without regard to case); a name with a folder is used as given.
std::filesystem::path ResolveProfileFile(std::string_view fileName);

// Reads [section] key into out. A missing file, section or key gives def.
// The value is cut to size - 1 characters; returns the length of out.
int GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                            std::string& out, int size, std::string_view fileName);

// Writes [section] key=value, creating the file, section or key as needed and
// keeping every other line and comment as it was. False when it cannot write.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view fileName);

// The value of [section] key as stored (blanks around it and whole-value
// quotes dropped, no cut); nullopt when the file, section or key is missing.
// *unreadable is set when the file exists but cannot be read.
std::optional<std::string> FindProfileValue(std::string_view section, std::string_view key,
                                            std::string_view fileName, bool* unreadable = nullptr);

// The same pair over WIN.INI.
int GetProfileString(std::string_view section, std::string_view key, std::string_view def, std::string& out,
                     int size);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

// Convenience for the programs: the value read with buffer 255, trimmed of blanks.
std::string ReadTrimmed(std::string_view section, std::string_view key, std::string_view fileName);

}  // namespace zv::profile
