#pragma once
// The run-time error every layer raises: a number in the numbering the
// programs test against (file errors 52..76, engine errors 3xxx, 40002...)
// and a description. It plays the role of the old "Err" object.
#include <stdexcept>
#include <string>

namespace zv {

class Error : public std::runtime_error {
public:
    Error(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    long Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    long number_;
    std::string description_;
};

// File errors as the programs number them.
namespace fileerr {
inline constexpr long BadFileNameOrNumber = 52;
inline constexpr long FileNotFound = 53;
inline constexpr long BadFileMode = 54;
inline constexpr long FileAlreadyOpen = 55;
inline constexpr long DeviceIO = 57;
inline constexpr long InputPastEnd = 62;
inline constexpr long BadFileName = 64;
inline constexpr long DeviceUnavailable = 68;
inline constexpr long PermissionDenied = 70;
inline constexpr long DiskNotReady = 71;
inline constexpr long PathFileAccess = 75;
inline constexpr long PathNotFound = 76;
}  // namespace fileerr

}  // namespace zv
