#pragma once
// The main of a benchmark that measures one step over declarations of
// several sizes, each in a fresh process of its own so that its peak memory
// is the step's: without arguments (or with the counts), an installation
// made by zvbase + zvsetup, one declaration filled per count, then the
// program itself started again with `opcion RUC N` for each count, where
// `mide` runs and prints its figures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench/medidas.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvbench {

struct PorDeclaracion {
    std::string opcion;                    // the child's first argument, e.g. "--anexo"
    std::vector<long> cuentas;             // the counts when none is given
    std::function<std::string(long)> ruc;  // the declarant of each count
    std::function<void(dao::Database&, const std::string& ruc, long filas)> llena;
    std::function<int(const std::string& ruc, long filas)> mide;  // the child's work; 0 when it went well
};

inline int CorrePorDeclaracion(int argc, char** argv, const PorDeclaracion& p) {
    if (argc == 4 && argv[1] == p.opcion) return p.mide(argv[2], std::atol(argv[3]));
    namespace fs = std::filesystem;
    const fs::path yo = fs::canonical("/proc/self/exe");
    setenv("ZV_BIN_DIR", yo.parent_path().c_str(), 0);

    std::vector<long> cuentas;
    for (int i = 1; i < argc; ++i) cuentas.push_back(std::atol(argv[i]));
    if (cuentas.empty()) cuentas = p.cuentas;

    zvtest::Installation::Options o;
    o.runSetup = true;
    zvtest::Installation instalacion(o);
    {
        zv::StderrMessages mensajes;
        zv::SetMessageService(&mensajes);
        if (!zvform::LeerIni()) return 1;
        for (long n : cuentas) {
            auto inicio = std::chrono::steady_clock::now();
            p.llena(*zvform::Estado::G().gBase, p.ruc(n), n);
            std::printf("filled %ld rows in %.2f s\n", n, Segundos(inicio));
        }
        zvform::Estado::Reset();
        zv::SetMessageService(nullptr);
    }
    int fallas = 0;
    for (long n : cuentas) {
        auto r = zvtest::Run(yo.string(), {p.opcion, p.ruc(n), std::to_string(n)}, instalacion.Env(),
                             instalacion.folder, 600);
        std::cout << r.out << r.err;
        if (r.exitCode != 0) ++fallas;
    }
    return fallas == 0 ? 0 : 1;
}

}  // namespace zvbench
