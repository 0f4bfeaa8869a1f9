// The transfer of the affiliates file: the structure checks, then the
// line-by-line check and write.
#include <algorithm>

#include "formulario/core/estado.h"
#include "formulario/import/archivo.h"
#include "formulario/import/lectura.h"
#include "formulario/import/mensajes.h"
#include "platform/dao/dao.h"
#include "platform/cursor.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvimport {

namespace {

// The last character that is not a blank; '\0' for a line of blanks.
char UltimoNoBlanco(const std::string& linea) {
    std::size_t ultimo = linea.find_last_not_of(' ');
    return ultimo == std::string::npos ? '\0' : linea[ultimo];
}

bool TerminaEnSeparador(const std::string& linea) { return UltimoNoBlanco(linea) == '|'; }

long CuentaSeparadores(const std::string& linea) { return std::count(linea.begin(), linea.end(), '|'); }

// The form counts lines at its own pace from the first line read until
// the reading ends, however it ends.
class Cuenta {
public:
    explicit Cuenta(ImportUi& ui) : ui_(ui) { ui_.EmpiezaCuenta(); }
    ~Cuenta() { Termina(); }
    Cuenta(const Cuenta&) = delete;
    Cuenta& operator=(const Cuenta&) = delete;
    void Termina() {
        if (!contando_) return;
        contando_ = false;
        ui_.TerminaCuenta();
    }

private:
    ImportUi& ui_;
    bool contando_ = true;
};

}  // namespace

bool Importacion::Transferencia(const std::string& sRuc, const std::string& sPeriodo, const std::string& sOrigen) {
    Lectura lectura;
    lectura.ruc = sRuc;
    lectura.periodo = sPeriodo;
    lectura.base = NombreBase(sRuc, sPeriodo);
    lectura.archivo = RutaArchivoImportacion(sOrigen, sRuc, sPeriodo);
    const std::string& rutaRpt = zvform::Estado::G().gRutaRpt;
    lectura.log = RutaLog(rutaRpt, lectura.base);
    lectura.err = RutaErr(rutaRpt, lectura.base);
    try {
        return TransferenciaSinTrampa(lectura);
    } catch (const zv::Error& e) {
        Errores_Transferencia(e);
    } catch (const std::exception& e) {
        Errores_Transferencia(zv::Error(51, e.what()));
    }
    TransferenciaEnCurso = false;
    return false;
}

bool Importacion::TransferenciaSinTrampa(Lectura& lectura) {
    TransferenciaEnCurso = true;
    AbreDetalle(lectura);
    lectura_ = &lectura;
    struct Suelta {
        Lectura*& enCurso;
        ~Suelta() { enCurso = nullptr; }
    } suelta{lectura_};

    // The two structure checks share one reading of the file.
    const Estructura estructura = RevisaEstructura(lectura.archivo, kCamposPorLinea);
    if (!estructura.camposCorrectos) {
        AvisaCamposIncorrectos();
        return TerminaSinLeer();
    }
    TotalAporteO = TotalAporteV = TotalRentabi = zv::Currency();
    if (!AvisaSeparadores(estructura)) return TerminaSinLeer();

    zv::text::TextReader lector(lectura.archivo);
    Campos.Hoy = zvform::Hoy();
    std::string linea;
    Cuenta cuenta(ui_);
    for (;;) {
        Campos.NuevaLinea();
        lectura.lineaBuena = true;
        lectura.escrita = false;
        zv::DoEvents();
        if (!lector.ReadLine(linea)) break;
        try {
            TransfiereLinea(lectura, linea);
        } catch (const zv::Error& e) {
            // Any error but a key violation ends the reading with a message:
            // the counters shown under it are the last ones.
            if (e.Number() != dao::err::DuplicateKey) cuenta.Termina();
            if (!Errores_Transferencia(e)) return false;
            // A key violation at the write: the line is rejected, the next one follows.
            --lectura.transferidos;
            RechazaLinea(lectura, linea);
        }
        MuestraContadores(lectura);
    }
    lector.Close();
    cuenta.Termina();
    return FinDeLectura(lectura);
}

bool Importacion::TerminaSinLeer() {
    TransferenciaEnCurso = false;
    return false;
}

// Up to the first blank line every line must end with "|" and hold NumPipes
// of them (the first line without its "|" ends that part); over the whole
// file, every line that is not blank must end with "|" and none may hold a
// tabulator.
Importacion::Estructura Importacion::RevisaEstructura(const std::string& archivo, int NumPipes) {
    Estructura e;
    bool primeraParte = true;
    zv::text::TextReader lector(archivo);
    for (std::string linea; lector.ReadLine(linea);) {
        const bool blanca = linea.find_first_not_of(' ') == std::string::npos;
        const bool separador = TerminaEnSeparador(linea);
        if (primeraParte) {
            if (blanca) {
                primeraParte = false;
            } else if (!separador) {
                e.camposCorrectos = false;
                primeraParte = false;
            } else if (CuentaSeparadores(linea) != NumPipes) {
                e.camposCorrectos = false;
            }
        }
        if (e.falla == Estructura::Ninguna) {
            if (!blanca && !separador) e.falla = Estructura::SinSeparador;
            else if (linea.find('\t') != std::string::npos) e.falla = Estructura::Tabulador;
        }
        if (!primeraParte && e.falla != Estructura::Ninguna) break;
    }
    return e;
}

bool Importacion::CuentaPye1(const std::string& nombre, int NumPipes) {
    if (RevisaEstructura(nombre, NumPipes).camposCorrectos) return true;
    AvisaCamposIncorrectos();
    return false;
}

void Importacion::AvisaCamposIncorrectos() {
    zv::MsgBox("El archivo de importación no tiene el número de campos correctos", zv::Icon::Critical,
               zv::Buttons::Ok, kTituloFormulario);
    ui_.HabilitaAceptar();
    ui_.FijaTransferidos("0          registro(s) transferido(s)");
    ui_.FijaRechazados("0          registro(s) rechazado(s)");
}

bool Importacion::AvisaSeparadores(const Estructura& estructura) {
    if (estructura.falla == Estructura::SinSeparador) {
        zv::MsgBox("Cada línea del archivo debe terminar con el separador |", zv::Icon::Critical, zv::Buttons::Ok,
                   "Error en archivo de importación");
        return false;
    }
    if (estructura.falla == Estructura::Tabulador) {
        zv::MsgBox("El archivo de carga de Declaraciones tiene el caracter [TAB].", zv::Icon::Critical,
                   zv::Buttons::Ok, "Error en archivo de carga de Declaraciones");
        zv::SetMousePointer(zv::Pointer::Default);
        return false;
    }
    return true;
}

// Cuts the line into its fields and checks each; the 15th is followed by
// the duplicate test and the 19th by the write. Text after the 19th
// separator is ignored, and so is text after the last separator of a
// shorter line: such a line lacks fields ("0911"), as does a blank line.
void Importacion::TransfiereLinea(Lectura& lectura, const std::string& linea) {
    std::string_view resto = linea;
    for (int numero = 1; numero <= kCamposPorLinea; ++numero) {
        std::size_t separador = resto.find('|');
        if (separador == std::string_view::npos) break;
        std::string valor = zv::text::UpperCase(resto.substr(0, separador));
        resto.remove_prefix(separador + 1);
        if (!Campos.ValidaTransferencia(valor, numero - 1)) return RechazaLinea(lectura, linea);
        lectura.campo[numero - 1] = std::move(valor);
        if (numero == 15 && Existe_afiliado_y_devengue(lectura.ruc, lectura.periodo, EmpleadorGuardado(lectura),
                                                       lectura.campo[1], lectura.campo[2], lectura.campo[14])) {
            Campos.CodigoError = kDuplicado;
            return RechazaLinea(lectura, linea);
        }
        if (numero == kCamposPorLinea) return EscribeFila(lectura);
    }
    Campos.CodigoError = kFaltanCampos;
    RechazaLinea(lectura, linea);
}

void Importacion::RechazaLinea(Lectura& lectura, const std::string& linea) {
    ++lectura.rechazados;
    lectura.lineaBuena = false;
    std::string clave = ClaveRechazo(linea);
    GraboLog(lectura.log, linea, lectura.err, clave);
}

void Importacion::MuestraContadores(const Lectura& lectura) {
    transferidosMostrados_ = lectura.transferidos;
    ui_.FijaContadores(std::to_string(lectura.transferidos) + " registro(s) transferido(s)",
                       std::to_string(lectura.rechazados) + " registro(s) rechazado(s)");
}

bool Importacion::FinDeLectura(Lectura& lectura) {
    ui_.FijaProgreso(8);
    lectura.detalle.reset();
    TransferenciaEnCurso = false;
    if (lectura.rechazados == 0) {
        ArchivoTransferido = lectura.archivo;
        RegistrosTransferidos = static_cast<std::int32_t>(lectura.transferidos);
        return true;
    }
    ui_.FijaTransferidos(std::to_string(lectura.transferidos) + " registro(s) procesado(s) correctamente");
    ui_.FijaRechazados(std::to_string(lectura.rechazados) + " registro(s) rechazado(s)");
    OfreceReporteErrores(lectura);
    return false;
}

}  // namespace zvimport
