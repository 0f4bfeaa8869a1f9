#include "platform/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace zv::files {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// A new file beside path, opened for writing; -1 with ec set when none can be made.
int CreateBeside(const fs::path& path, fs::path& temp, std::error_code& ec) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path;
        temp += ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    ec = LastError();
    return -1;
}

bool WriteAllTo(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

bool WriteReplacing(const fs::path& path, std::string_view bytes, std::error_code& ec) {
    ec.clear();
    fs::path temp;
    int fd = CreateBeside(path, temp, ec);
    if (fd < 0) return false;
    bool written = WriteAllTo(fd, bytes);
    if (!written) ec = LastError();
    if (close(fd) != 0 && written) {
        written = false;
        ec = LastError();
    }
    if (written) fs::rename(temp, path, ec);
    if (!written || ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

bool CopyReplacing(const fs::path& from, const fs::path& to, std::error_code& ec) {
    ec.clear();
    int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ec = LastError();
        return false;
    }
    std::string bytes;
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ec = LastError();
            close(fd);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return WriteReplacing(to, bytes, ec);
}

}  // namespace zv::files
