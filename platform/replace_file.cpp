#include "platform/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace zv::files {

namespace fs = std::filesystem;

int SystemCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t SystemCalls::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int SystemCalls::Sync(int fd) { return ::fsync(fd); }
int SystemCalls::Close(int fd) { return ::close(fd); }
int SystemCalls::Rename(const char* from, const char* to) { return ::rename(from, to); }
int SystemCalls::Unlink(const char* path) { return ::unlink(path); }

SystemCalls& RealSystemCalls() {
    static SystemCalls real;
    return real;
}

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// A new file beside path, opened for writing; -1 with ec set when none can be made.
int CreateBeside(const fs::path& path, fs::path& temp, SystemCalls& calls, std::error_code& ec) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path;
        temp += ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        int fd = calls.Open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    ec = LastError();
    return -1;
}

// A write that takes nothing has found the disk full: it sets no errno.
bool WriteAllTo(int fd, std::string_view bytes, SystemCalls& calls, std::error_code& ec) {
    while (!bytes.empty()) {
        ssize_t n = calls.Write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ec = LastError();
            return false;
        }
        if (n == 0) {
            ec = std::make_error_code(std::errc::no_space_on_device);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The new file's contents on the disk, and the file closed; false with ec
// set when any of it failed (the file is closed all the same).
bool WriteDurably(int fd, std::string_view bytes, SystemCalls& calls, std::error_code& ec) {
    bool done = WriteAllTo(fd, bytes, calls, ec);
    if (done && calls.Sync(fd) != 0) {
        ec = LastError();
        done = false;
    }
    if (calls.Close(fd) != 0 && done) {
        ec = LastError();
        done = false;
    }
    return done;
}

// The folder's record of its names on the disk. A file system that keeps
// no such record to flush says so with EINVAL.
bool SyncFolder(const fs::path& path, SystemCalls& calls, std::error_code& ec) {
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    int fd = calls.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) {
        ec = LastError();
        return false;
    }
    bool done = calls.Sync(fd) == 0 || errno == EINVAL;
    if (!done) ec = LastError();
    if (calls.Close(fd) != 0 && done) {
        ec = LastError();
        done = false;
    }
    return done;
}

}  // namespace

bool WriteReplacing(const fs::path& path, std::string_view bytes, std::error_code& ec, SystemCalls& calls) {
    ec.clear();
    fs::path temp;
    int fd = CreateBeside(path, temp, calls, ec);
    if (fd < 0) return false;
    bool replaced = WriteDurably(fd, bytes, calls, ec);
    if (replaced && calls.Rename(temp.c_str(), path.c_str()) != 0) {
        ec = LastError();
        replaced = false;
    }
    if (!replaced) {
        calls.Unlink(temp.c_str());  // only a leftover beside the earlier file, which is whole
        return false;
    }
    return SyncFolder(path, calls, ec);
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
