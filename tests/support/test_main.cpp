// The main of the test programs: the headless environment every test runs in
// (offscreen Qt, message boxes on standard error, private runtime and lock folders,
// where the built programs are), unless the caller already set it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifndef ZV_DEFAULT_BIN_DIR
#define ZV_DEFAULT_BIN_DIR "build/bin"
#endif
#ifndef ZV_DEFAULT_SOURCE_DIR
#define ZV_DEFAULT_SOURCE_DIR "."
#endif

namespace {

std::vector<std::string> privateFolders;

void RemovePrivateFolders() {
    std::error_code ec;
    for (const auto& folder : privateFolders) std::filesystem::remove_all(folder, ec);
}

// A private folder of the test program in `variable`, unless it names one.
void PrivateFolder(const char* variable, const std::string& pattern) {
    if (std::getenv(variable)) return;
    std::string folder = pattern;
    if (!mkdtemp(folder.data())) return;
    if (privateFolders.empty()) std::atexit(RemovePrivateFolders);
    privateFolders.push_back(folder);
    setenv(variable, folder.c_str(), 0);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ZARVO_MSGBOX", "stderr", 0);
    setenv("ZV_BIN_DIR", ZV_DEFAULT_BIN_DIR, 0);
    setenv("ZV_SOURCE_DIR", ZV_DEFAULT_SOURCE_DIR, 0);
    PrivateFolder("XDG_RUNTIME_DIR", "/tmp/zvtest-runtime-XXXXXX");
    // The programs' instance locks: tests that run side by side must not
    // meet in the user's one lock folder.
    PrivateFolder("ZARVO_LOCKDIR", "/tmp/zvtest-locks-XXXXXX");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
