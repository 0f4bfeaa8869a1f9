#pragma once
// One running instance per program and user: a lock on a file under the
// runtime folder that the kernel releases when the process dies.
#include <string>

namespace zv {

class SingleInstance {
public:
    explicit SingleInstance(const std::string& programName);
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
