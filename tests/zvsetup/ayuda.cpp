#include "tests/zvsetup/ayuda.h"

#include <cstdlib>
#include <sstream>

#include "platform/textfile.h"
#include "shared/cuentas.h"

namespace zvsetup_test {

namespace {

fs::path ProgramaEnPath(const std::string& nombre) {
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin");
    std::string carpeta;
    while (std::getline(path, carpeta, ':')) {
        if (!carpeta.empty() && fs::exists(fs::path(carpeta) / nombre)) return fs::path(carpeta) / nombre;
    }
    return "/usr/bin/" + nombre;
}

}  // namespace

std::unique_ptr<dao::Database> InstalacionTest::Abre(bool exclusiva) {
    return inst.Open(zv::cuentas::Zvsetup(), exclusiva);
}

std::vector<std::string> InstalacionTest::Sqlite3(const std::string& sql) const {
    auto r =
        zvtest::Run(ProgramaEnPath("sqlite3").string(), {"-batch", "-separator", "|", inst.database.string(), sql});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> filas;
    std::stringstream salida(r.out);
    std::string fila;
    while (std::getline(salida, fila)) filas.push_back(fila);
    return filas;
}

void InstalacionTest::EscribeEnv841(const std::string& contenido) const { zv::text::WriteAll(Env841(), contenido); }

std::vector<std::string> Filas(dao::Database& db, const std::string& sql, const std::vector<dao::Value>& params) {
    std::vector<std::string> filas;
    auto rs = db.OpenRecordset(sql, dao::dbOpenSnapshot, params);
    for (; !rs->EOF_(); rs->MoveNext()) {
        std::string fila;
        for (int i = 0; i < rs->FieldCount(); ++i) fila += (i ? "|" : "") + rs->Fields(i).AsText();
        filas.push_back(fila);
    }
    rs->Close();
    return filas;
}

long ErrorDe(dao::Database& db, const std::string& sql, const std::vector<dao::Value>& params) {
    try {
        db.Execute(sql, params);
        return 0;
    } catch (const dao::Error& e) {
        return e.Number();
    }
}

std::string Caja(const std::string& titulo, const std::string& texto) { return titulo + ": " + texto + "\n\n"; }

}  // namespace zvsetup_test
