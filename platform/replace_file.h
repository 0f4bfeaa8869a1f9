#pragma once
// Replacing a file whole: the new contents go to a file beside it, which is
// flushed to the disk, renamed over it, and then its folder is flushed, so
// that the new name survives a power cut too. A failure before the rename
// leaves the earlier file as it was (never empty, never half written); a
// failure of the folder's flush comes after the rename: the new contents are
// in place but may not survive a power cut, and that is reported as a
// failure as well. The new file is created afresh: it belongs to whoever
// writes it, with the usual permissions, so a file another user left behind
// is replaced as long as its folder allows.
#include <sys/types.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace zv::files {

// The system calls a replacement makes, each returning as its system call
// does (errno set on failure). The real ones by default; a test passes its
// own to see their order or to make one of them fail.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Sync(int fd);  // the file's contents and what is needed to read them, to the disk
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
};

SystemCalls& RealSystemCalls();

bool WriteReplacing(const std::filesystem::path& path, std::string_view bytes, std::error_code& ec,
                    SystemCalls& calls = RealSystemCalls());

// The bytes of from, as they are, replacing to; permissions are not copied.
bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

}  // namespace zv::files
