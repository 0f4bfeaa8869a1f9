// Runs one command on a private X server of the tests' own range (see
// servidor_x.h), for tests that ctest starts as a whole on a display:
//   zv_con_servidor_x [--pantalla WxHxD] PROGRAM [ARGS...]
// The command's exit code is the wrapper's; the server is gone before it ends.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "tests/support/servidor_x.h"

namespace {

int Ejecuta(char** argv, const std::string& display) {
    pid_t pid = fork();
    if (pid < 0) return 125;
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", display.c_str(), 1);
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
    std::string pantalla = "1280x1024x24";
    int primero = 1;
    if (argc > 2 && std::string(argv[1]) == "--pantalla") {
        pantalla = argv[2];
        primero = 3;
    }
    if (primero >= argc) {
        std::fprintf(stderr, "usage: %s [--pantalla WxHxD] PROGRAM [ARGS...]\n", argv[0]);
        return 125;
    }
    try {
        zvtest::ServidorX x(pantalla);
        return Ejecuta(argv + primero, x.Display());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 125;
    }
}
