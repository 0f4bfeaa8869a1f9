#pragma once
// File names are matched without regard to case, as on the original platform.
#include <filesystem>
#include <optional>
#include <vector>

namespace zv::files {

// The path as it exists on disk when a file or folder matches it without
// regard to case (each component is looked up); nullopt when none does.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& path);

// The existing path when found without regard to case; else the folders that
// exist (found without regard to case) followed by the rest as given, so that
// a file written afterwards lands in the existing folder under the name the
// program asked for.
std::filesystem::path Resolve(const std::filesystem::path& path);

bool Exists(const std::filesystem::path& path);  // ignoring case

// Files of a folder whose extension matches ext (e.g. ".txt") ignoring case.
std::vector<std::filesystem::path> ListWithExtension(const std::filesystem::path& folder, std::string_view ext);

// Folder of the running executable (for errorlog.txt).
std::filesystem::path ProgramFolder();

}  // namespace zv::files
