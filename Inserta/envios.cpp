#include "Inserta/envios.h"

#include <charconv>
#include <cmath>

#include "Inserta/ejecuta_sql.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvsetup {

namespace {

constexpr int kCampos = 13;
constexpr const char* kFormulario = "0841";

[[noreturn]] void Falla(long numero, const std::string& texto, int numeroLinea, int campo = 0) {
    std::string donde = "env841.txt, línea " + std::to_string(numeroLinea);
    if (campo > 0) donde += ", campo " + std::to_string(campo);
    throw zv::Error(numero, texto + " (" + donde + ")");
}

std::vector<std::string> PartesLinea(std::string_view linea, int numeroLinea) {
    std::vector<std::string> campos;
    std::size_t desde = 0;
    for (int i = 0; i < kCampos; ++i) {
        auto fin = linea.find('|', desde);
        if (fin == std::string_view::npos)
            Falla(kArgumentoNoValido, "Llamada a procedimiento o argumento no válidos: faltan campos", numeroLinea);
        campos.emplace_back(linea.substr(desde, fin - desde));
        desde = fin + 1;
    }
    return campos;  // whatever follows the 13th "|" is ignored
}

// A plain decimal number: optional sign, digits, optional fraction.
bool LeeNumero(const std::string& texto, double& valor) {
    std::string t = zv::text::Trim(texto);
    if (!t.empty() && t[0] == '+' && t.size() > 1 && t[1] != '-') t.erase(0, 1);
    std::size_t digitos = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9')
            ++digitos;
        else if (!(c == '-' && i == 0) && c != '.')
            return false;
    }
    if (digitos == 0 || t.find('.') != t.rfind('.')) return false;
    auto [fin, ec] = std::from_chars(t.data(), t.data() + t.size(), valor);
    return ec == std::errc() && fin == t.data() + t.size();
}

dao::Value Numero(const std::string& texto, int numeroLinea, int campo) {
    double valor = 0;
    if (!LeeNumero(texto, valor)) Falla(kTiposNoCoinciden, "No coinciden los tipos", numeroLinea, campo);
    if (std::trunc(valor) == valor && std::fabs(valor) < 9.0e15) return dao::Value(static_cast<long long>(valor));
    return dao::Value(valor);
}

dao::Value Byte(const std::string& texto, int numeroLinea, int campo) {
    double valor = 0;
    if (!LeeNumero(texto, valor) || std::trunc(valor) != valor)
        Falla(kTiposNoCoinciden, "No coinciden los tipos", numeroLinea, campo);
    if (valor < 0 || valor > 255) Falla(kDesbordamiento, "Desbordamiento", numeroLinea, campo);
    return dao::Value(static_cast<long>(valor));
}

void AvisaSinCambios() {
    zv::MsgBox("Los descriptores de envío del formulario 0841 quedaron como estaban.", zv::Icon::Exclamation,
               zv::Buttons::Ok, "Mensaje");
}

void ActualizaEnvio(Sesion& s, const Envio& e) {
    EjecutaSQL(s,
               "UPDATE envio_t SET tabla_d = ?, tabla_ext = ?, indice = ?, obliga = ?, c_tip_doc_d = ?, "
               "c_doc_id_d = ?, c_Formulario = ?, c_periodo = ?, c_estado = ?, c_envio = ?, c_semana = ? "
               "WHERE formulario = ? AND tabla_o = ?",
               {e.tablaDestino, e.tablaExterna, e.indice, e.obliga, e.tipDoc, e.docId, e.formulario, e.periodo,
                e.estado, e.envio, e.semana, kFormulario, e.tablaOrigen});
}

void InsertaEnvio(Sesion& s, const Envio& e) {
    EjecutaSQL(s, "INSERT INTO envio_t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {kFormulario, e.tablaOrigen, e.tablaDestino, e.tablaExterna, e.indice, e.obliga, e.tipDoc, e.docId,
                e.formulario, e.periodo, e.estado, e.envio, e.semana});
}

}  // namespace

Envio InterpretaLinea(std::string_view linea, int numeroLinea) {
    auto c = PartesLinea(linea, numeroLinea);
    Envio e;
    e.tablaOrigen = zv::text::Trim(c[1]);
    e.tablaDestino = c[2].empty() ? " " : c[2];
    e.tablaExterna = zv::text::Trim(c[3]);
    e.indice = Byte(c[4], numeroLinea, 5);
    e.obliga = Byte(c[5], numeroLinea, 6);
    e.tipDoc = Byte(c[6], numeroLinea, 7);
    e.docId = Numero(c[7], numeroLinea, 8);
    e.formulario = Numero(c[8], numeroLinea, 9);
    e.periodo = Numero(c[9], numeroLinea, 10);
    e.estado = Numero(c[10], numeroLinea, 11);
    e.envio = Numero(c[11], numeroLinea, 12);
    e.semana = Numero(c[12], numeroLinea, 13);
    return e;
}

namespace {

// A file that cannot be opened or read is named in the error.
zv::Error ErrorDelArchivo(const zv::Error& e, const std::filesystem::path& archivo) {
    return zv::Error(e.Number(), e.Description() + " (" + archivo.string() + ")");
}

bool LeeLinea(zv::text::TextReader& lector, std::string& linea, const std::filesystem::path& archivo) {
    try {
        return lector.ReadLine(linea);
    } catch (const zv::Error& e) {
        throw ErrorDelArchivo(e, archivo);
    }
}

}  // namespace

std::vector<Envio> LeeEnvios(const std::filesystem::path& archivo) {
    zv::text::TextReader lector;
    try {
        lector.Open(archivo);
    } catch (const zv::Error& e) {
        throw ErrorDelArchivo(e, archivo);
    }
    std::vector<Envio> envios;
    std::string linea;
    for (int numero = 1; LeeLinea(lector, linea, archivo); ++numero) {
        if (zv::text::Trim(linea).empty()) break;  // a blank line ends the file
        envios.push_back(InterpretaLinea(linea, numero));
    }
    return envios;
}

std::filesystem::path RutaEnvios(const std::string& sysPath) {
    std::filesystem::path escrita = sysPath + "tmp/env841.txt";
    if (std::filesystem::exists(escrita)) return escrita;
    return zv::files::Resolve(escrita);
}

bool ExisteEnvio(Sesion& s, const std::string& tabla) {
    auto rs = s.base->OpenRecordset("SELECT * FROM envio_t WHERE formulario = ? AND tabla_o = ?", dao::dbOpenSnapshot,
                                    {kFormulario, tabla});
    bool existe = !rs->EOF_();
    rs->Close();
    return existe;
}

void CargaEnvios(Sesion& s) {
    // The file is read and checked whole before any descriptor is touched.
    const auto envios = LeeEnvios(RutaEnvios(s.sysPath));
    const int rechazadasAntes = s.rechazadas;
    s.base->BeginTrans();
    EjecutaSQL(s, "DELETE FROM envio_t WHERE FORMULARIO = ?", {kFormulario});
    for (const auto& e : envios) {
        // The same origin table twice: the later line overwrites the earlier.
        if (ExisteEnvio(s, e.tablaOrigen))
            ActualizaEnvio(s, e);
        else
            InsertaEnvio(s, e);
    }
    if (s.rechazadas == rechazadasAntes) {
        s.base->CommitTrans();
    } else {
        s.base->Rollback();
        AvisaSinCambios();
    }
}

}  // namespace zvsetup
