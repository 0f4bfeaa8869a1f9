#include "tests/support/afiliados.h"

#include "platform/dao/dao.h"

namespace zvtest {

void LlenaAfiliados(dao::Database& db, const std::string& ruc, const std::string& periodo, long filas) {
    const std::string sql =
        "INSERT INTO F841DETDES (tip_doc_d, doc_id_d, periodo, formulario, Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, "
        "Fec_NacTrab, Nom_ApePat, Nom_ApeMat, Nom_Nombre, Ind_Sexo, Cod_CUSPP, Fec_Afiliac, Fec_SolDesaf, "
        "Cod_MotDesaf, Num_ResDesaf, Ind_CondPago, Mes_deveng, Mto_Remun, Mto_AporteO, Mto_AporteV, Mto_Rentabi, "
        "cnumero) VALUES (6, ?, ?, '0841', '20100070970', '01', ?, ?, 'PÉREZ', 'GÓMEZ', ?, '1', '123456ABCDE1', ?, "
        "?, '01', 'RES0001', '1', '202212', '2500.00', ?, ?, ?, '000000')";
    db.BeginTrans();
    for (long i = 0; i < filas; ++i) {
        db.Execute(sql, {ruc, periodo, std::to_string(10000000 + i), dao::Date{1980, 5, 23},
                         "AFILIADO NÚMERO " + std::to_string(i), dao::Date{1995, 7, 1}, dao::Date{2008, 9, 15},
                         std::to_string(100 + i % 900) + ".25", std::to_string(i % 50) + ".50",
                         (i % 7 == 0 ? "-" : "") + std::to_string(i % 300) + ".10"});
    }
    db.CommitTrans();
}

}  // namespace zvtest
