#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace zv {

namespace {

// The lock file of a program for the current user: under XDG_RUNTIME_DIR
// (private to the user) when it names a folder, else under /tmp with the
// user's id in the name.
std::filesystem::path LockPath(const std::string& programName) {
    std::string name;
    for (char c : programName) name += (c == '/' || c == '\0') ? '_' : c;
    name = "zarvo-" + name + "-" + std::to_string(getuid()) + ".lock";
    std::error_code ec;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && std::filesystem::is_directory(runtime, ec)) return std::filesystem::path(runtime) / name;
    return std::filesystem::path("/tmp") / name;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& programName) {
    auto path = LockPath(programName);
    // O_CLOEXEC: a program started from this one must not inherit the lock.
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        // Without a lock file nothing shows another instance: let it run.
        held_ = true;
        return;
    }
    int rc;
    do rc = flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno == EWOULDBLOCK) {  // another instance holds it
        close(fd_);
        fd_ = -1;
        held_ = false;
        return;
    }
    held_ = true;  // locked, or locking unsupported here: nothing to refuse on
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

}  // namespace zv
