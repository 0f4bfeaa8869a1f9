#include "host/zvbase/instalacion.h"

#include <cstdio>

namespace zvbase {

bool LeeArgumentos(int, char**, Opciones&, std::string& error) {
    error = "sin implementar";
    return false;
}

void Instalar(const Opciones&) {}

int Main(int argc, char** argv) {
    Opciones o;
    std::string error;
    if (!LeeArgumentos(argc, argv, o, error)) {
        std::fprintf(stderr, "zvbase: %s\n", error.c_str());
        return 2;
    }
    Instalar(o);
    return 0;
}

}  // namespace zvbase
