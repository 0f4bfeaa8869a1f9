#pragma once
// The field rules of a line of the affiliates file, and what they remember
// while one line is checked (the employer's RUC, the document type and the
// paternal surname seen so far, and the code, label and length limit of the
// last failing rule).
#include <initializer_list>
#include <string>

#include "formulario/core/fecha.h"

namespace zvimport {

inline constexpr int kCamposPorLinea = 19;

class ReglasCampo {
public:
    std::string RucEmpleador;     // field 1 as checked; "0" when empty
    std::string TipoDocumento;    // field 2 once accepted
    std::string ApellidoPaterno;  // field 5 ("" when empty)
    std::string CodigoError;      // code of the last failing rule; "" after a field passes
    std::string EtiquetaCampo;    // label of the field in the composed messages
    int LongitudCampo = 0;        // length limit of the field in the composed messages
    // The day dates and months are compared with: today, taken when the
    // rules are made (one import compares every line with the same day).
    zvform::Fecha Hoy;

    ReglasCampo();

    // Forgets what the previous line left: employer, type and surname.
    void NuevaLinea();

    // Checks field `Posicion` (0 to 18) of a line. `Dato` is first trimmed;
    // a negative field 19 is given back with its "-" in front. False with
    // CodigoError set when a rule fails.
    bool ValidaTransferencia(std::string& Dato, int Posicion);

private:
    bool Rechaza(const char* codigo);
    bool RucDelEmpleador(const std::string& dato);
    bool TipoDeDocumento(const std::string& dato);
    bool NumeroDeDocumento(const std::string& dato);
    bool FechaDelCampo(const std::string& dato, int posicion);
    bool ApellidoPaternoDelAfiliado(const std::string& dato);
    bool ApellidoMaternoDelAfiliado(const std::string& dato);
    bool NombreDelAfiliado(const std::string& dato);
    bool Codigo(const std::string& dato, const char* codigoVacio, const char* codigoInvalido,
                std::initializer_list<const char*> validos);
    bool CuspP(const std::string& dato);
    bool Resolucion(const std::string& dato);
    bool CondicionDePago(const std::string& dato);
    bool MesDeDevengue(const std::string& dato);
    bool Monto(std::string& dato, int posicion);
};

// An accrual month AAAAMM: numeric, and its last two characters from "01"
// to "12". The caller has checked that it has 6 characters.
bool Valida_Periodo(const std::string& sDato);

// True for Backspace (8), Enter (13) and the digits; any other key code is
// set to 0.
bool SoloNumero(int& iCaracter);

}  // namespace zvimport
