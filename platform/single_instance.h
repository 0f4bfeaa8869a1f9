#pragma once
// One running instance per program and user: a lock on a file that the
// kernel releases when the process dies. The file lies in the user's lock
// folder, which is the same for every start of the user whatever the
// environment the program was started with (a host, a desktop or a shell
// that sets XDG_RUNTIME_DIR or not), so two starts always meet.
#include <filesystem>
#include <string>

namespace zv {

// The user's lock folder: /tmp/zarvo-<uid>. ZARVO_LOCKDIR names another one
// instead; it is there for test suites, which run programs side by side, and
// nothing else sets it.
std::filesystem::path InstanceLockFolder();

class SingleInstance {
public:
    // The lock of the program in InstanceLockFolder().
    explicit SingleInstance(const std::string& programName);
    // The lock of the program in the folder given.
    SingleInstance(const std::string& programName, const std::filesystem::path& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // True when another instance of the program already holds the lock.
    bool PrevInstance() const { return !held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace zv
