#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace zv {

namespace {

std::string LockFileName(const std::string& programName) {
    std::string name;
    for (char c : programName) name += (c == '/' || c == '\0') ? '_' : c;
    return name + ".lock";
}

// The lock folder opened as a descriptor, made when missing. Only a real
// folder of the user's own that nobody else may write into will do: in a
// folder shared with others (as /tmp is) a folder or a link planted under
// the name beforehand could send the lock file elsewhere. -1 when it will
// not do.
int OpenPrivateFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return -1;
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        return -1;
    }
    // The user's own folder left open to others: closed again.
    if ((st.st_mode & 077) != 0 && fchmod(fd, 0700) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::filesystem::path InstanceLockFolder() {
    const char* chosen = std::getenv("ZARVO_LOCKDIR");
    if (chosen && *chosen) return chosen;
    return std::filesystem::path("/tmp") / ("zarvo-" + std::to_string(geteuid()));
}

SingleInstance::SingleInstance(const std::string& programName)
    : SingleInstance(programName, InstanceLockFolder()) {}

SingleInstance::SingleInstance(const std::string& programName, const std::filesystem::path& folder) {
    // Without a lock file nothing shows another instance: let it run.
    held_ = true;
    const int dir = OpenPrivateFolder(folder);
    if (dir < 0) return;
    // O_CLOEXEC: a program started from this one must not inherit the lock.
    fd_ = openat(dir, LockFileName(programName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    close(dir);
    if (fd_ < 0) return;
    int rc;
    do rc = flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno == EWOULDBLOCK) {  // another instance holds it
        close(fd_);
        fd_ = -1;
        held_ = false;
    }
    // Locked, or locking unsupported here: nothing to refuse on.
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

}  // namespace zv
