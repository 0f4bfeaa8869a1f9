#pragma once
// SHA-256 of a byte string, as 64 lower-case hex digits (for the workgroup file's digests).
#include <string>
#include <string_view>

namespace dao::detail {
std::string Sha256Hex(std::string_view data);
}
