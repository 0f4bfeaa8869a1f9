// The duplicate test of the transfer (TablaDetalle::Cuenta) answers what the
// table holds inside the transfer's transaction: rows it wrote itself, in
// whatever case or with the trailing blanks the key's comparison ignores,
// rows the connection wrote by other statements, and rows already there.
#include <gtest/gtest.h>

#include <vector>

#include "formulario/import/detalle.h"
#include "platform/dao/conversion.h"
#include "tests/import/entorno.h"

namespace zvimport::prueba {
namespace {

using Clave = std::vector<dao::Value>;

Clave ClaveDe(const char* empleador, const char* documento) {
    return {dao::Value(kRuc), dao::Value(kPeriodo), dao::Value(empleador), dao::Value("01"), dao::Value(documento),
            dao::Value("202301")};
}

// A row of every column: the key's values, "1" elsewhere.
std::vector<dao::Value> FilaDe(const TablaDetalle& tabla, const Clave& clave) {
    static const char* const kClave[] = {"doc_id_d", "periodo", "Num_RUCEmpl", "Tip_Doctrab", "Num_Doctrab",
                                         "Mes_deveng"};
    std::vector<dao::Value> fila;
    for (const auto& columna : tabla.Columnas()) {
        dao::Value v("1");
        for (int k = 0; k < 6; ++k)
            if (dao::conv::EqualsIgnoringCase(columna.Name(), kClave[k])) v = clave[k];
        fila.push_back(v);
    }
    return fila;
}

void InsertaConSql(dao::Database& base, const Clave& clave) {
    base.Execute("INSERT INTO F841DETDES (doc_id_d, periodo, Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, Mes_deveng) "
                 "VALUES (?, ?, ?, ?, ?, ?)",
                 clave);
}

TEST_F(ImportacionTest, LaPruebaDeDuplicadoVeLoQueLaTablaTieneEnLaTransaccion) {
    dao::Database& base = Base();
    base.BeginTrans();
    {
        TablaDetalle tabla(base);
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "ab12")), 0);
        tabla.Inserta(FilaDe(tabla, ClaveDe("20100070970", "ab12")));
        // the key's comparison: letters without regard to case, the RUC without trailing blanks
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "AB12")), 1);
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970  ", "aB12")), 1);
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "AB12 ")), 0);
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "AB13")), 0);
        // a row written on the connection by another statement
        InsertaConSql(base, ClaveDe("20100070970", "CD34"));
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "cd34")), 1);
        tabla.Inserta(FilaDe(tabla, ClaveDe("20100070970", "EF56")));
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "ef56")), 1);
    }
    base.Rollback();
    EXPECT_EQ(Cuenta("F841DETDES"), 0);
}

TEST_F(ImportacionTest, LaPruebaDeDuplicadoVeLasFilasQueYaEstaban) {
    dao::Database& base = Base();
    InsertaConSql(base, ClaveDe("20100070970", "GH78"));
    base.BeginTrans();
    {
        TablaDetalle tabla(base);
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "IJ90")), 0);
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970", "gh78")), 1);
        tabla.Inserta(FilaDe(tabla, ClaveDe("20100070970", "IJ90")));
        EXPECT_EQ(tabla.Cuenta(ClaveDe("20100070970 ", "ij90")), 1);
    }
    base.Rollback();
    EXPECT_EQ(Cuenta("F841DETDES"), 1);
}

}  // namespace
}  // namespace zvimport::prueba
