#pragma once
// Shared queries of zvform: the user's scope, the declarants, whether a
// declaration is registered, the deletion of one declaration's rows, and the
// check that a list grid has a usable current row. Every statement binds
// the values that come from the user or the data.
#include <string>
#include <vector>

#include "platform/dao/value.h"

namespace zvform {

// A list the declarants are loaded into (a combo box, a list box).
class ListaTexto {
public:
    virtual ~ListaTexto() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& texto) = 0;
    virtual void SetSelected(int indice) = 0;  // 0-based
};

// A list grid as ValidaSeleccion sees it.
class GrillaSeleccion {
public:
    virtual ~GrillaSeleccion() = default;
    virtual long Filas() const = 0;
    // Text of a column (0-based) of the current row; "" with no current row.
    virtual std::string CeldaFilaActual(int columna) const = 0;
};

struct Sentencia {
    std::string sql;
    std::vector<dao::Value> params;
};

// Tipo of gUsuario in CLAVES, "1" when the user has no row. "0" sees every
// declarant; any other type only those whose CONT.Usuario is the user.
// Errors reach the caller.
std::string TipoUsuario();

// The statement that lists the declarants of the declaration form, with
// the RUC length condition when PARAM '044'/'6' asks for 11-character RUCs
// (positions 46-47 "11" and 130 "1"). Errors reach the caller.
Sentencia SqlDeclarantes(const std::string& formulario);

// Fills the list with the declarants that are pension fund administrators
// (PARAM '782'), each "RUC in 20 characters" + "name in 60"; with
// `seleccion` not 0 the item of `ruc` is selected. False, after a warning,
// when there is no such declarant. Database errors go to ManejaError.
bool CargaNumeroDocumento(ListaTexto& lista, int tipoDocumento, const std::string& ruc, int seleccion);

// True when CAB holds a form 0841 declaration of the RUC and period; with
// `modo` 1 the user is told so. Database errors go to ManejaError.
bool VerificaTablaValor(const std::string& ruc, const std::string& periodo, int modo);

// Deletes one declaration's rows (period gPeriodo, form 0841) from a table;
// with gEsEnviada and a table whose name does not begin with "TMP", only
// those of the correlative. Shows nothing; false when the delete failed,
// so that the caller rolls its transaction back.
bool EliminaDataTabla(const std::string& tabla, int tipoDocumento, const std::string& numeroDocumento,
                      int filtro, const std::string& correlativo);

// True when the grid has rows and the second column of its current row is
// filled; otherwise an information box names the operation (1 actualizar,
// 2 eliminar, 3 ver declaraciones enviadas).
bool ValidaSeleccion(const GrillaSeleccion& grilla, int operacion);

}  // namespace zvform
