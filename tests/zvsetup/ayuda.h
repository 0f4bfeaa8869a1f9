#pragma once
// Helpers of the zvsetup tests: an installation made by zvbase, the built
// zvsetup run on it, and two ways into its database: the database layer (as
// the programs see it) and the sqlite3 command (as it lies on disk).
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/dao/dao.h"
#include "tests/support/support.h"

namespace zvsetup_test {

namespace fs = std::filesystem;

class InstalacionTest : public ::testing::Test {
protected:
    zvtest::Installation inst;

    zvtest::RunResult Instala() const { return inst.RunProgram("zvsetup"); }
    // The database opened through the layer with zvsetup's account.
    std::unique_ptr<dao::Database> Abre(bool exclusiva = false);
    // Rows of a query through the sqlite3 command, columns joined by "|".
    std::vector<std::string> Sqlite3(const std::string& sql) const;
    fs::path Env841() const { return inst.folder / "tmp" / "env841.txt"; }
    void EscribeEnv841(const std::string& contenido) const;
};

// Every row of a query through the layer, fields as text joined by "|".
std::vector<std::string> Filas(dao::Database& db, const std::string& sql, const std::vector<dao::Value>& params = {});
// The number of the engine error a statement raises; 0 when it takes effect.
long ErrorDe(dao::Database& db, const std::string& sql, const std::vector<dao::Value>& params);
// The block the stderr message service writes for one box.
std::string Caja(const std::string& titulo, const std::string& texto);

}  // namespace zvsetup_test
