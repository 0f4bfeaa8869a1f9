#pragma once
// Replacing a file whole: the new contents go to a file beside it, which is
// then renamed over it. A failure at any point leaves the earlier file as
// it was (never empty, never half written), and the new file is created
// afresh: it belongs to whoever writes it, with the usual permissions, so a
// file another user left behind is replaced as long as its folder allows.
#include <filesystem>
#include <string_view>
#include <system_error>

namespace zv::files {

bool WriteReplacing(const std::filesystem::path& path, std::string_view bytes, std::error_code& ec);

// The bytes of from, as they are, replacing to; permissions are not copied.
bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

}  // namespace zv::files
