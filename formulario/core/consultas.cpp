#include "formulario/core/consultas.h"

#include <cctype>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/rutinas.h"
#include "formulario/core/termina.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvform {

namespace {

constexpr const char* kNombreProducto = "Solvenda";
constexpr const char* kTituloImportar = "Importar información de afiliados";

dao::Database& Base() {
    auto& base = Estado::G().gBase;
    if (!base) throw zv::Error(91, "Variable de objeto o bloque With no establecido");
    return *base;
}

// Runs a trapped routine: on an error the central handler decides whether
// to run it again (0) or to end the program (1).
template <typename F>
auto ConReintentos(const char* rutina, F&& cuerpo) {
    for (;;) {
        try {
            return cuerpo();
        } catch (const std::exception& e) {
            if (ManejaError(rutina, e) == 1) TerminaPrograma(1);
        }
    }
}

// The built-in document-type record when PARAM has none: "11" at 46-47
// and "0" at 130.
std::string RegistroRucPorOmision() {
    std::string registro(130, ' ');
    registro.replace(45, 2, "11");
    registro[129] = '0';
    return registro;
}

bool EmpiezaConTmp(const std::string& tabla) {
    if (tabla.size() < 3) return false;
    return std::toupper(static_cast<unsigned char>(tabla[0])) == 'T' &&
           std::toupper(static_cast<unsigned char>(tabla[1])) == 'M' &&
           std::toupper(static_cast<unsigned char>(tabla[2])) == 'P';
}

// Table names cannot be bound: only plain identifiers are accepted.
bool EsNombreDeTabla(const std::string& tabla) {
    if (tabla.empty()) return false;
    for (unsigned char c : tabla)
        if (!std::isalnum(c) && c != '_') return false;
    return !std::isdigit(static_cast<unsigned char>(tabla[0]));
}

const char* PalabraDeOperacion(int operacion) {
    switch (operacion) {
        case 1: return "actualizar";
        case 2: return "eliminar";
        case 3: return "ver declaraciones enviadas";
        default: return "";
    }
}

}  // namespace

std::string TipoUsuario() {
    auto rs = Base().OpenRecordset("SELECT * FROM CLAVES WHERE Usuario=?", dao::dbOpenSnapshot,
                                   {Estado::G().gUsuario});
    std::string tipo = rs->EOF_() ? "1" : rs->Fields("Tipo").AsText();
    rs->Close();
    return tipo;
}

Sentencia SqlDeclarantes(const std::string& /*formulario*/) {
    std::string funcion;
    {
        auto rs = Base().OpenRecordset("SELECT * FROM PARAM WHERE Numero ='044' AND Argumento='6' ",
                                       dao::dbOpenSnapshot);
        funcion = rs->EOF_() ? RegistroRucPorOmision() : rs->Fields("Funcion").AsText();
        rs->Close();
    }
    Sentencia s{" SELECT * FROM CONT  WHERE Tip_doc_d=6 ", {}};
    if (zv::Val(zv::text::Mid(funcion, 46, 2)) == 11 && zv::Val(zv::text::Mid(funcion, 130, 1)) == 1)
        s.sql += " AND len(trim(Doc_id_d))=11 ";
    if (TipoUsuario() == "0") {
        s.sql += " ORDER BY Tip_doc_d, doc_id_d ";
    } else {
        s.sql += " AND Usuario =? Order by Tip_doc_d, doc_id_d ";
        s.params.push_back(Estado::G().gUsuario);
    }
    return s;
}

bool CargaNumeroDocumento(ListaTexto& lista, int tipoDocumento, const std::string& ruc, int seleccion) {
    return ConReintentos("CargaNumeroDocumento", [&] {
        Estado& g = Estado::G();
        std::vector<dao::Value> params{tipoDocumento};
        g.gSQL = "SELECT doc_id_d, nombre FROM CONT WHERE tip_doc_d = ?  AND doc_id_d in "
                 "( SELECT argumento from param where numero = '782' ) ";
        if (TipoUsuario() != "0") {
            g.gSQL += "AND usuario =? ";
            params.push_back(g.gUsuario);
        }
        g.gSQL += "ORDER BY DOC_ID_D ASC";
        auto rs = Base().OpenRecordset(g.gSQL, dao::dbOpenSnapshot, params);
        lista.Clear();
        if (rs->EOF_()) {
            rs->Close();
            zv::MsgBox("No existen declarantes registrados. Para registrar un declarante salga de este "
                       "módulo y en el menú principal elija la opción: Registro/Declarantes.",
                       zv::Icon::Warning, zv::Buttons::Ok, kNombreProducto);
            return false;
        }
        for (int indice = 0; !rs->EOF_(); ++indice, rs->MoveNext()) {
            std::string documento = rs->Fields("doc_id_d").AsText();
            lista.AddItem(AlineaIzquierda(documento, 20) + AlineaIzquierda(rs->Fields("nombre").AsText(), 60));
            if (seleccion != 0 && documento == ruc) lista.SetSelected(indice);
        }
        rs->Close();
        return true;
    });
}

bool VerificaTablaValor(const std::string& ruc, const std::string& periodo, int modo) {
    return ConReintentos("VerificaTablaValor", [&] {
        Estado& g = Estado::G();
        g.gSQL = "SELECT 'x' FROM CAB WHERE tip_doc_d = 6  AND doc_id_d = ? AND periodo = ? "
                 "AND formulario = '0841'";
        auto rs = Base().OpenRecordset(g.gSQL, dao::dbOpenSnapshot, {ruc, periodo});
        bool existe = !rs->EOF_();
        rs->Close();
        if (existe && modo == 1)
            zv::MsgBox("Ya existe una declaración para el RUC y periodo seleccionado. Elimine la declaración "
                       "e importe el archivo nuevamente.",
                       zv::Icon::Warning, zv::Buttons::Ok, kTituloImportar);
        return existe;
    });
}

bool EliminaDataTabla(const std::string& tabla, int tipoDocumento, const std::string& numeroDocumento,
                      int filtro, const std::string& correlativo) {
    if (!EsNombreDeTabla(tabla)) return false;
    Estado& g = Estado::G();
    std::vector<dao::Value> params;
    g.gSQL = "DELETE FROM " + tabla + " ";
    if (filtro == 1) {
        g.gSQL += "WHERE tip_doc_d = ? AND doc_id_d = ? AND periodo = ? AND formulario = '0841' ";
        params = {tipoDocumento, numeroDocumento, g.gPeriodo};
        if (g.gEsEnviada && !EmpiezaConTmp(tabla)) {
            g.gSQL += " AND Correl= ?";
            params.push_back(correlativo);
        }
    }
    try {
        Base().Execute(g.gSQL, params, dao::dbFailOnError);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ValidaSeleccion(const GrillaSeleccion& grilla, int operacion) {
    std::string palabra = PalabraDeOperacion(operacion);
    if (grilla.Filas() <= 0) {
        zv::MsgBox("No existen registros disponibles para " + palabra, zv::Icon::Information, zv::Buttons::Ok,
                   "Información");
        return false;
    }
    if (zv::text::Trim(grilla.CeldaFilaActual(1)).empty()) {
        zv::MsgBox("Debe seleccionar algún registro para realizar la operación " + palabra,
                   zv::Icon::Information, zv::Buttons::Ok, "Información");
        return false;
    }
    return true;
}

}  // namespace zvform
