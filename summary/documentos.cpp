// The two documents of the send summary: the spool document (family mark-up,
// registered in SPOOL) and its plain-text copy.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <random>
#include <optional>

#include "platform/currency.h"
#include "platform/error.h"
#include "platform/textfile.h"
#include "shared/formato.h"
#include "shared/reloj.h"
#include "shared/spool.h"
#include "summary/resumen.h"

namespace zvreport {

namespace {

std::string Blancos(std::size_t n) { return std::string(n, ' '); }

std::string Fecha() { return zv::Ahora("%d/%m/%Y"); }
std::string Hora() { return zv::Ahora("%H:%M:%S"); }

// MM/YYYY of the period YYYYMM.
std::string MesAnio(const std::string& periodo) {
    std::string mes = periodo.size() >= 2 ? periodo.substr(periodo.size() - 2) : periodo;
    return mes + "/" + periodo.substr(0, 4);
}

std::optional<double> ValorNumerico(const std::string& texto) {
    auto c = zv::Currency::Parse(texto);
    if (!c) return std::nullopt;
    return c->ToDouble();
}

// Spool line writer: text lines become records 175 twips apart; tags pass.
void ImprimeLinea(Estado& e, const std::string& linea) {
    if (linea.rfind("<!", 0) == 0) {
        e.archivo.WriteLine(linea);
        return;
    }
    zv::spool::SumaPosicion(e.gPosY, zv::spool::kAltoLinea);
    e.archivo.WriteLine(zv::spool::RegistroPos(10, e.gPosY, linea, false, 8, e.gPagina - 1));
}

void ImprimeLineaTexto(Estado& e, const std::string& linea) {
    e.archivo.WriteLine(zv::text::Trim(linea).empty() ? " " : linea);
}

using Escritor = void (*)(Estado&, const std::string&);

// One box line: the label, then the amount when the box holds a number.
void LineaCasilla(Estado& e, Escritor escribe, const std::string& margen, const std::string& etiqueta,
                  const std::string& valor, int ancho, int anchoNegativo) {
    e.gLinea = margen + etiqueta;
    if (auto v = ValorNumerico(valor)) {
        if (*v < 0) FormateaMonto(e, -*v, "(##,###,###,##0)", anchoNegativo);
        else FormateaMonto(e, *v, "##,###,###,##0", ancho);
    }
    escribe(e, e.gLinea);
}

void LineaMonto(Estado& e, Escritor escribe, const std::string& linea, const std::string& valor, int ancho) {
    e.gLinea = linea;
    if (auto v = ValorNumerico(valor)) FormateaMonto(e, *v, "###,###,###,##0", ancho);
    escribe(e, e.gLinea);
}

void CabeceraResumenSpool(Estado& e) {
    const std::string m = Blancos(10);
    ImprimeLinea(e, std::string(zv::spool::kTagFuente));
    ImprimeLinea(e, zv::spool::TagHojas(1));
    ImprimeLinea(e, e.gLinea);
    ImprimeLinea(e, std::string(zv::spool::kTagVertical));
    ImprimeLinea(e, std::string(zv::spool::kTagColorVentana));
    for (int i = 0; i < 4; ++i) ImprimeLinea(e, "");
    ImprimeLinea(e, m + Fecha() + Blancos(29) + "Pag. 01/01");
    ImprimeLinea(e, m + Hora());
    ImprimeLinea(e, "");
    ImprimeLinea(e, Blancos(16) + "Resumen de envío - Formulario 0841 ");
    ImprimeLinea(e, "");
    ImprimeLinea(e, m + "DOCUMENTO        : " + e.gDocumento);
    ImprimeLinea(e, m + "RAZON SOCIAL     : " + e.gRazonSocial);
    ImprimeLinea(e, m + "FORMULARIO       : " + e.gFormulario + "-Zarvo Solvenda");
    ImprimeLinea(e, m + "PERIODO          : " + MesAnio(e.gPeriodo));
    ImprimeLinea(e, m + "FORMA DE PAGO    : " + (e.gPagoEfectivo ? "EFECTIVO" : "CHEQUE"));
    if (!e.gPagoEfectivo) {
        ImprimeLinea(e, m + "NUMERO DE CHEQUE : " + e.gNroCheque);
        ImprimeLinea(e, m + "BANCO            : " + e.gNombreBanco);
    }
    ImprimeLinea(e, "");
    ImprimeLinea(e, "");
}

void CuerpoResumenSpool(Estado& e) {
    const std::string m = Blancos(10);
    ImprimeLinea(e, m + "CONCEPTO                     MONTO PAGO");
    LineaMonto(e, ImprimeLinea, m + "Aporte Obligatorio al SPP   ", e.gCasillas[590], 15);
    LineaMonto(e, ImprimeLinea, m + "Ap. voluntario con fin prev.", e.gCasillas[591], 15);
    LineaCasilla(e, ImprimeLinea, m, "Rentabilidad e intereses    ", e.gCasillas[592], 15, 15);
    ImprimeLinea(e, "");
    LineaMonto(e, ImprimeLinea, m + "TOTAL:" + Blancos(19), e.gCasillas[598], 18);
    ImprimeLinea(e, "");
    ImprimeLinea(e, m + "NC " + e.gCodigoNC + Blancos(8) + "Fec.Generación: " + Fecha());
    for (int i = 0; i < 3; ++i) ImprimeLinea(e, "");
}

void CabeceraResumenTexto(Estado& e) {
    ImprimeLineaTexto(e, "DOCUMENTO      : " + e.gDocumento);
    ImprimeLineaTexto(e, "RAZON SOCIAL   : " + zv::text::Left(e.gRazonSocial, 20));
    ImprimeLineaTexto(e, "FORMULARIO     : " + e.gFormulario + "-Zarvo Solvenda");
    ImprimeLineaTexto(e, "PERIODO        : " + MesAnio(e.gPeriodo));
    ImprimeLineaTexto(e, std::string("FORMA DE PAGO  : ") + (e.gPagoEfectivo ? "EFECTIVO" : "CHEQUE"));
    if (!e.gPagoEfectivo) {
        ImprimeLineaTexto(e, "NUMERO CHEQUE  : " + e.gNroCheque);
        ImprimeLineaTexto(e, "BANCO          : " + zv::text::Left(e.gNombreBanco, 20));
    }
    ImprimeLineaTexto(e, "");
}

void CuerpoResumenTexto(Estado& e) {
    ImprimeLineaTexto(e, "CONCEPTO                     MONTO PAGO");
    LineaMonto(e, ImprimeLineaTexto, "Aporte Obligatorio al SPP   ", e.gCasillas[590], 15);
    LineaMonto(e, ImprimeLineaTexto, "Ap. voluntario con fin prev.", e.gCasillas[591], 15);
    LineaCasilla(e, ImprimeLineaTexto, "", "Rentabilidad e intereses    ", e.gCasillas[592], 15, 16);
    ImprimeLineaTexto(e, "");
    LineaMonto(e, ImprimeLineaTexto, "TOTAL:" + Blancos(19), e.gCasillas[598], 18);
    ImprimeLineaTexto(e, "");
    ImprimeLineaTexto(e, "NC " + e.gCodigoNC + Blancos(2) + "Fec.Generación: " + Fecha());
}

}  // namespace

std::string ReservaNombreTemporal(const std::string& carpeta) {
    // An 8-digit name drawn at random; the file is created exclusively, so
    // two runs never write one file: a name already taken draws again.
    static std::mt19937 azar(static_cast<unsigned>(std::time(nullptr)) ^ static_cast<unsigned>(getpid()));
    std::uniform_real_distribution<double> r(0.0, 1.0);
    for (;;) {
        long numero = static_cast<long>(r(azar) * 90000000.0 + 10000000.0);
        std::string ruta = carpeta + "/" + std::to_string(numero);
        int fd = open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            close(fd);
            return ruta;
        }
        if (errno != EEXIST) {
            zv::Error error = zv::text::FileOpenError(ruta, errno, true);
            throw zv::Error(error.Number(), error.Description() + ": " + carpeta);
        }
    }
}

std::string QuitaComas(const std::string& s, int count) {
    std::string out;
    int quitadas = 0;
    for (char c : s) {
        if (c == ',' && quitadas < count) {
            ++quitadas;
            continue;
        }
        out += c;
    }
    return out;
}

void FormateaMonto(Estado& e, double valor, const std::string& mascara, int ancho) {
    std::string s = zv::Format(valor, mascara);
    const int n = static_cast<int>(s.size());
    auto alineado = [&](const std::string& t) {
        int largo = static_cast<int>(t.size());
        return largo < ancho ? Blancos(static_cast<std::size_t>(ancho - largo)) + t : t;
    };
    if (ancho == 15 || ancho == 16) {
        if (n >= 13 && n <= 16) {
            e.gLinea += " " + s;
            return;
        }
        if (n >= 17 && n <= 19) return;
        if (n >= 21) {
            e.gLinea += " " + alineado(QuitaComas(s, 5));
            return;
        }
    }
    e.gLinea += " " + alineado(s);
}

void GeneraResumenTexto(Estado& e) {
    e.gLinea.clear();
    e.gRutaTexto = ReservaNombreTemporal(e.gRutaTmp);
    e.archivo.Open(e.gRutaTexto, zv::text::WriteMode::Output);
    e.gPagina = 1;
    CabeceraResumenTexto(e);
    CuerpoResumenTexto(e);
    e.archivo.Close();
}

void GeneraResumenSpool(Estado& e) {
    e.gLinea.clear();
    std::string archivo =
        zv::spool::GeneraArchivoSpool(*e.gBase, "F84104", zv::text::Trim(e.gDocumento), e.gUsuario);
    e.gRutaSpool = e.gRutaRpt + "/" + archivo;
    try {
        e.archivo.Open(e.gRutaSpool, zv::text::WriteMode::Output);
        e.gPagina = 1;
        e.gPosY = 0;
        CabeceraResumenSpool(e);
        CuerpoResumenSpool(e);
        e.archivo.Close();
    } catch (...) {
        // A summary not written whole is no report: its registration goes
        // with the empty or cut file (the text copy stays), and the error
        // goes on to be told.
        e.archivo = zv::text::TextWriter();
        zv::spool::DescartaArchivoSpool(*e.gBase, e.gRutaSpool);
        throw;
    }
}

}  // namespace zvreport
