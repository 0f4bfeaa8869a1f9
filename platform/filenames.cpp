#include "platform/filenames.h"

#include <sys/auxv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "platform/textfile.h"

namespace zv::files {

namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a == b || text::UpperCase(a) == text::UpperCase(b);
}

bool Present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// The entry of folder whose name matches name ignoring case; the exact name
// wins, otherwise the first in name order, so that the choice is stable.
std::optional<fs::path> MatchInFolder(const fs::path& folder, const fs::path& name) {
    fs::path exact = folder / name;
    if (Present(exact)) return exact;
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
    std::optional<std::string> best;
    for (; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, name.string()) && (!best || entry < *best)) best = entry;
    }
    if (!best) return std::nullopt;
    return folder / *best;
}

// Resolves the longest leading part of path that exists ignoring case;
// returns it and the number of components it covers.
std::pair<fs::path, std::size_t> ResolvePrefix(const fs::path& path, std::size_t& total) {
    fs::path done;
    std::size_t matched = 0;
    total = 0;
    bool failed = false;
    for (const auto& part : path) {
        if (part.empty()) continue;  // trailing separator
        ++total;
        if (failed) continue;
        std::string s = part.string();
        if (part == path.root_path() || part == path.root_name() || part == path.root_directory() ||
            s == "." || s == "..") {
            done /= part;
            ++matched;
            continue;
        }
        auto found = MatchInFolder(done, part);
        if (!found) {
            failed = true;
            continue;
        }
        done = *found;
        ++matched;
    }
    return {done, matched};
}

}  // namespace

std::optional<fs::path> FindIgnoringCase(const fs::path& path) {
    if (path.empty()) return std::nullopt;
    if (Present(path)) return path;
    std::size_t total = 0;
    auto [done, matched] = ResolvePrefix(path, total);
    if (matched != total) return std::nullopt;
    return done;
}

fs::path Resolve(const fs::path& path) {
    if (path.empty() || Present(path)) return path;
    std::size_t total = 0;
    auto [done, matched] = ResolvePrefix(path, total);
    if (matched == total) return done;
    // Keep the folders found on disk and the rest of the name as asked.
    std::size_t index = 0;
    fs::path out = done;
    for (const auto& part : path) {
        if (part.empty()) continue;
        if (index++ >= matched) out /= part;
    }
    return out;
}

bool Exists(const fs::path& path) { return FindIgnoringCase(path).has_value(); }

std::vector<fs::path> ListWithExtension(const fs::path& folder, std::string_view ext) {
    std::vector<fs::path> out;
    auto where = FindIgnoringCase(folder.empty() ? fs::path(".") : folder);
    if (!where) return out;
    std::error_code ec;
    fs::directory_iterator it(*where, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc)) continue;
        if (SameIgnoringCase(it->path().extension().string(), ext)) out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

namespace {

// How the program was started, taken once as it loads: the programs move the
// current folder to their installation as they start, so it cannot be asked
// for later.
struct Start {
    fs::path folder;       // the working folder
    std::string executed;  // the file name the kernel ran (relative names are to folder)
    std::string argv0;     // the name the program was called by
    std::string path;      // PATH
};

const Start& TheStart() {
    static const Start start = [] {
        Start s;
        std::error_code ec;
        s.folder = fs::current_path(ec);
        if (const auto* executed = reinterpret_cast<const char*>(getauxval(AT_EXECFN))) s.executed = executed;
        if (program_invocation_name) s.argv0 = program_invocation_name;
        if (const char* path = std::getenv("PATH")) s.path = path;
        return s;
    }();
    return start;
}

[[maybe_unused]] const bool kStartTaken = (TheStart(), true);

bool IsProgramFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

fs::path RealPath(const fs::path& p) {
    std::error_code ec;
    fs::path real = fs::canonical(p, ec);
    return ec ? p.lexically_normal() : real;
}

}  // namespace

fs::path FindProgram(std::string_view name, const fs::path& folder, std::string_view searchPath) {
    if (name.empty()) return {};
    if (name.find('/') != std::string_view::npos) {
        fs::path p = folder / name;
        return IsProgramFile(p) ? RealPath(p) : fs::path();
    }
    for (std::size_t from = 0; from <= searchPath.size();) {
        std::size_t to = std::min(searchPath.find(':', from), searchPath.size());
        std::string_view dir = searchPath.substr(from, to - from);
        fs::path p = (dir.empty() ? folder : folder / dir) / name;  // an empty entry is the working folder
        if (IsProgramFile(p)) return RealPath(p);
        from = to + 1;
    }
    return {};
}

fs::path ProgramAsStarted() {
    const Start& s = TheStart();
    if (!s.executed.empty()) {
        fs::path p = s.folder / s.executed;
        if (IsProgramFile(p)) return RealPath(p);
    }
    return FindProgram(s.argv0, s.folder, s.path);
}

fs::path ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe.parent_path();
    // No /proc (a bare chroot): the file the program was started from.
    fs::path started = ProgramAsStarted();
    return started.empty() ? TheStart().folder : started.parent_path();
}

}  // namespace zv::files
