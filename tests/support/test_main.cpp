// The main of the test programs: the headless environment every test runs in
// (offscreen Qt, message boxes on standard error, a private runtime folder,
// where the built programs are), unless the caller already set it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef ZV_DEFAULT_BIN_DIR
#define ZV_DEFAULT_BIN_DIR "build/bin"
#endif
#ifndef ZV_DEFAULT_SOURCE_DIR
#define ZV_DEFAULT_SOURCE_DIR "."
#endif

namespace {

std::string privateRuntime;

void RemovePrivateRuntime() {
    std::error_code ec;
    std::filesystem::remove_all(privateRuntime, ec);
}

void PrivateRuntimeFolder() {
    if (std::getenv("XDG_RUNTIME_DIR")) return;
    std::string folder = "/tmp/zvtest-runtime-XXXXXX";
    if (!mkdtemp(folder.data())) return;
    privateRuntime = folder;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
    std::atexit(RemovePrivateRuntime);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ZARVO_MSGBOX", "stderr", 0);
    setenv("ZV_BIN_DIR", ZV_DEFAULT_BIN_DIR, 0);
    setenv("ZV_SOURCE_DIR", ZV_DEFAULT_SOURCE_DIR, 0);
    PrivateRuntimeFolder();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
