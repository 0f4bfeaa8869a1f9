#pragma once
// File names are matched without regard to case, as on the original platform.
#include <filesystem>
#include <optional>
#include <string_view>
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

// Folder of the running executable (for errorlog.txt and the import form's
// first folder), also where /proc is not mounted.
std::filesystem::path ProgramFolder();

// The running program's file found from how it was started (the file name the
// kernel ran, else its name looked up as a shell does) against the working
// folder and PATH it was started with; empty when not found. Needs no /proc.
std::filesystem::path ProgramAsStarted();

// The program file a shell runs for name started in folder: a name with a
// slash is a path (relative ones to folder); a bare name is looked up in
// searchPath's folders in turn (an empty one is folder). Resolved to its real
// path; empty when no executable file is found.
std::filesystem::path FindProgram(std::string_view name, const std::filesystem::path& folder,
                                  std::string_view searchPath);

}  // namespace zv::files
