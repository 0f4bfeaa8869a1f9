// The checks of the declaration form: the telephone of an opened
// declaration and the payment data, logged line by line into Mens.txt
// (the full check of "&Validar") or asked silently (the save).
#include <string_view>
#include <vector>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/declaration/frm841_datos.h"
#include "platform/dao/conversion.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvdecl {

namespace {

using zvform::Estado;

// What a payment line carries after its message, with no blank between.
constexpr std::string_view kSufijoDeuda = "( dato ubicado en el rubro Determinación de la deuda )";

// The telephone rules that fail, in order, on the text as typed: empty,
// 6 or 7 characters, 8 beginning with "9" and 9 or more pass.
std::vector<std::string> ReglasTelefono(const std::string& telefono) {
    const std::size_t largo = zv::text::Length(telefono);
    const bool celular = zv::text::Left(telefono, 1) == "9";
    std::vector<std::string> fallas;
    if (largo >= 1 && largo <= 5) fallas.emplace_back("Identificación : Ingrese correctamente el teléfono");
    if (largo == 8 && !celular)
        fallas.emplace_back(
            "Identificación : El número de teléfono ingresado debe ser de 7 dígitos, o un celular de 8 ó 7 "
            "dígitos");
    if (celular && largo < 7) fallas.emplace_back("Identificación : El celular debe ser de 8 o 7 dígitos");
    return fallas;
}

// The payment rules in order; a payment form other than cash or cheque
// skips the cheque rules.
std::vector<std::string> ReglasPago(const PropiedadesFormaDePago& pago, bool hastaLaPrimera) {
    std::vector<std::string> fallas;
    auto falla = [&](bool condicion, const char* mensaje) {
        if (condicion && !(hastaLaPrimera && !fallas.empty())) fallas.emplace_back(mensaje);
    };
    if (pago.formaPago != "E" && pago.formaPago != "C") {
        falla(true, "Ingrese la Forma de pago");
        return fallas;
    }
    if (pago.formaPago != "C") return fallas;
    const std::string monto = zv::text::Trim(pago.monto);
    falla(zv::text::Trim(pago.codigoBanco) == "XX", "Ingrese el banco");
    falla(zv::text::Trim(pago.numeroCheque).empty(), "Ingrese el Número del cheque");
    falla(monto.empty() || monto == "0", "No puede girar un cheque con monto cero");
    falla(dao::conv::IsNumeric(pago.numeroCheque) && dao::conv::Val(pago.numeroCheque) == 0,
          "El número de cheque no puede ser cero");
    return fallas;
}

// A failure of the full check: its line in Mens.txt.
void Registra(zv::text::TextWriter& mens, const std::string& linea, const std::string& mensaje) {
    mens.WriteLine(linea);
    Estado& e = Estado::G();
    e.gMensaje = mensaje;
    e.gInconsistencia = 1;
}

// Mens.txt emptied and opened; a refused file is offered again (Retry) or
// given up (Cancel) with the file-error messages of the program.
bool AbreMens(zv::text::TextWriter& mens, const std::string& ruta, const std::string& titulo) {
    for (;;) {
        try {
            mens.Open(ruta, zv::text::WriteMode::Output);
            return true;
        } catch (const zv::Error& e) {
            const int respuesta = zvform::MensajeErrorArchivo(e.Number());
            if (respuesta == 0) continue;
            if (respuesta == 3)
                zv::MsgBox("No se pudo crear el archivo de inconsistencias " + ruta + "\n" + e.Description(),
                           zv::Icon::Critical, zv::Buttons::Ok, titulo);
            return false;
        }
    }
}

// The full check into Mens.txt; false once the file could not be written.
bool EscribeInconsistencias(const DatosFrm841& d, zv::text::TextWriter& mens, bool& sinFallas) {
    const std::string& ruta = Estado::G().gRutaArchivo;
    if (!AbreMens(mens, ruta, d.caption)) return false;
    try {
        sinFallas = ValIdent(d, "0", &mens).ok;
        for (const std::string& mensaje : ReglasPago(d.formaDePago, false)) {
            Registra(mens, mensaje + std::string(kSufijoDeuda), mensaje);
            sinFallas = false;
        }
        mens.Close();
        return true;
    } catch (const zv::Error& e) {
        zv::MsgBox("No se pudo escribir el archivo de inconsistencias " + ruta + "\n" + e.Description(),
                   zv::Icon::Critical, zv::Buttons::Ok, d.caption);
        return false;
    }
}

}  // namespace

Resultado ValIdent(const DatosFrm841& d, const std::string& modo, zv::text::TextWriter* mens) {
    Resultado r;
    if (d.operacion != 1) return r;
    for (const std::string& mensaje : ReglasTelefono(d.txtTelefono)) {
        r.ok = false;
        if (modo != "0") {
            r.pestana = 0;
            zv::MsgBox(mensaje, zv::Icon::Critical, zv::Buttons::Ok, d.caption);
            r.foco = "TxtTelefono";
            return r;
        }
        if (mens) Registra(*mens, mensaje, mensaje);
    }
    return r;
}

Resultado ValidaTodo(const DatosFrm841& d, const std::string& tipo) {
    Resultado r;
    if (tipo == "2") {
        r.ok = ReglasPago(d.formaDePago, true).empty();
        return r;
    }
    if (tipo != "0") {
        r.ok = ValIdent(d, tipo).ok && ReglasPago(d.formaDePago, true).empty();
        return r;
    }
    Estado& e = Estado::G();
    e.gRutaArchivo = e.gSysPath + "Mens.txt";
    zv::text::TextWriter mens;
    bool sinFallas = true;
    if (!EscribeInconsistencias(d, mens, sinFallas)) {
        r.ok = false;
        return r;
    }
    r.ok = sinFallas;
    if (r.ok) {
        zv::MsgBox("La información de la declaración no presenta inconsistencias.", zv::Icon::Exclamation,
                   zv::Buttons::Ok, d.caption);
    } else if (auto& muestra = MuestraInconsistencias()) {
        muestra();
    }
    return r;
}

}  // namespace zvdecl
