#include "Inserta/parametros.h"

#include <vector>

#include "Inserta/ejecuta_sql.h"
#include "Inserta/envios.h"

namespace zvsetup {

namespace {

struct FilaParam {
    const char* numero;
    const char* argumento;
    const char* funcion;
    const char* correl;
};

// 992 and 880 describe the form for the host, 996 the module's two tables,
// 782 the pension fund administrators (by RUC), 783 the disaffiliation motives.
const std::vector<FilaParam>& FilasParam() {
    static const std::vector<FilaParam> filas = {
        {"992", "0841", "1", ""},
        {"996", "508", "F0841DETDES    R 1000   6", ""},
        {"996", "509", "HF0841DETDES   R 1000   7", ""},
        {"880", "0841", "1 20070601 20991231 20070301", "000"},
        {"782", "20142829551", "PROFUTURO AFP", ""},
        {"782", "20157036794", "AFP INTEGRA S.A.", ""},
        {"782", "20143980821", "AFP HORIZONTE S.A", ""},
        {"782", "20510398158", "PRIMA AFP S.A.", ""},
        {"783", "01", "Afiliados que ingresaron al SNP hasta el 31 de diciembre de 1995", ""},
        {"783", "02",
         "Afiliados que al momento de su afiliación al SPP contaban con los requisitos para contar con una pensión "
         "en el SNP",
         ""},
        {"783", "03", "Resolución del Tribunal Constitucional Nº 07281-2006-PA-TC", ""},
    };
    return filas;
}

struct Reporte {
    const char* codigo;
    const char* titulo;
};

const std::vector<Reporte>& Reportes() {
    static const std::vector<Reporte> reportes = {
        {"F84101", "Reporte del formulario - 0841"},
        {"F84102", "Reporte de Anexos - 0841"},
        {"F84103", "Reporte de Errores - 0841"},
        {"F84104", "Reporte de envío - 0841"},
    };
    return reportes;
}

// Each code's row is replaced, never updated.
void GrabaReportes(Sesion& s) {
    for (const auto& r : Reportes()) {
        EjecutaSQL(s, "DELETE FROM reportes WHERE codrep = ?", {r.codigo});
        EjecutaSQL(s, "INSERT INTO reportes VALUES (?, ?, 1)", {r.codigo, r.titulo});
    }
}

}  // namespace

void CargaParametros(Sesion& s) {
    for (const auto& f : FilasParam()) GrabaParam(s, f.numero, f.argumento, f.funcion, f.correl);
    GrabaReportes(s);
    CargaEnvios(s);
    s.base->Close();
    s.base.reset();
}

void GrabaParam(Sesion& s, const std::string& numero, const std::string& argumento, const std::string& funcion,
                const std::string& correl) {
    if (ExisteParam(s, numero, argumento)) {
        EjecutaSQL(s, "UPDATE Param SET Funcion = ?, Correl_param = ? WHERE Numero = ? AND Argumento = ?",
                   {funcion, correl, numero, argumento});
    } else {
        EjecutaSQL(s, "INSERT INTO Param VALUES (?, ?, ?, ?)", {numero, argumento, funcion, correl});
    }
}

bool ExisteParam(Sesion& s, const std::string& numero, const std::string& argumento) {
    auto rs = s.base->OpenRecordset("SELECT * FROM Param WHERE Numero = ? AND Argumento = ?", dao::dbOpenSnapshot,
                                    {numero, argumento});
    bool existe = !rs->EOF_();
    rs->Close();
    return existe;
}

}  // namespace zvsetup
