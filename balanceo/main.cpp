// zvcheck: the pre-send check of the declaration named by the one argument.
#include <string>
#include <vector>

#include "balanceo/zvcheck.h"

int main(int argc, char** argv) {
    std::vector<std::string> argumentos(argv + 1, argv + argc);
    return zvcheck::Main(zvcheck::LineaDeComandos(argumentos));
}
