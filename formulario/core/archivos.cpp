#include "formulario/core/archivos.h"

#include <cerrno>
#include <map>
#include <memory>

#include "platform/error.h"
#include "platform/filenames.h"

namespace zvform::archivos {

namespace {

constexpr int kUltimoNumero = 511;

struct Abierto {
    std::filesystem::path ruta;
    int modo = 0;
    int largo = 0;
    zv::text::TextWriter escritor;
    zv::text::TextReader lector;
    std::FILE* binario = nullptr;
    ~Abierto() {
        if (binario) std::fclose(binario);
    }
};

std::map<int, std::unique_ptr<Abierto>>& Tabla() {
    static std::map<int, std::unique_ptr<Abierto>> tabla;
    return tabla;
}

[[noreturn]] void Falla(long numero, const char* texto) { throw zv::Error(numero, texto); }

bool EsSecuencial(int modo) { return modo >= Salida && modo <= Agregar; }

std::filesystem::path Absoluta(const std::filesystem::path& ruta) {
    std::error_code ec;
    auto abs = std::filesystem::absolute(zv::files::Resolve(ruta), ec);
    return ec ? ruta : abs.lexically_normal();
}

std::FILE* AbreBinario(const std::filesystem::path& pedida, int modo) {
    auto ruta = zv::files::Resolve(pedida);
    std::error_code ec;
    if (std::filesystem::is_directory(ruta, ec)) Falla(zv::fileerr::PathFileAccess, "Error de acceso a la ruta o el archivo");
    bool existe = std::filesystem::exists(ruta, ec);
    const char* mode = modo == BinarioLee ? "rb" : modo == BinarioEscribe ? (existe ? "r+b" : "wb")
                                                                          : (existe ? "r+b" : "w+b");
    std::FILE* f = std::fopen(ruta.c_str(), mode);
    if (f) return f;
    int e = errno;
    if (e == ENOENT) {
        auto carpeta = ruta.parent_path();
        if (!carpeta.empty() && !std::filesystem::is_directory(carpeta, ec))
            Falla(zv::fileerr::PathNotFound, "No se encontró la ruta de acceso");
        Falla(zv::fileerr::FileNotFound, "No se encontró el archivo");
    }
    if (e == ENOSPC || e == EIO) Falla(zv::fileerr::DeviceIO, "Error de E/S en el dispositivo");
    if (e == ENAMETOOLONG || e == EINVAL) Falla(zv::fileerr::BadFileName, "Nombre de archivo incorrecto");
    Falla(zv::fileerr::PathFileAccess, "Error de acceso a la ruta o el archivo");
}

Abierto& Busca(int numero) {
    auto it = Tabla().find(numero);
    if (it == Tabla().end()) Falla(zv::fileerr::BadFileNameOrNumber, "Nombre o número de archivo incorrecto");
    return *it->second;
}

}  // namespace

int ArchivoLibre() {
    for (int n = 1; n <= kUltimoNumero; ++n)
        if (!Tabla().count(n)) return n;
    Falla(67, "Demasiados archivos");
}

void Abre(int numero, const std::filesystem::path& ruta, int modo, int largoRegistro) {
    if (numero < 1 || numero > kUltimoNumero || Tabla().count(numero))
        Falla(zv::fileerr::BadFileNameOrNumber, "Nombre o número de archivo incorrecto");
    if (modo < Salida || modo > BinarioEscribe) Falla(zv::fileerr::BadFileMode, "Modo de archivo incorrecto");
    auto abierto = std::make_unique<Abierto>();
    abierto->ruta = Absoluta(ruta);
    abierto->modo = modo;
    abierto->largo = largoRegistro;
    // A text file may be read by several numbers, never written while open.
    for (const auto& [n, otro] : Tabla())
        if (otro->ruta == abierto->ruta && (modo != Entrada || otro->modo != Entrada))
            Falla(zv::fileerr::FileAlreadyOpen, "El archivo ya está abierto");
    switch (modo) {
        case Salida: abierto->escritor.Open(ruta, zv::text::WriteMode::Output); break;
        case Agregar: abierto->escritor.Open(ruta, zv::text::WriteMode::Append); break;
        case Entrada: abierto->lector.Open(ruta); break;
        default: abierto->binario = AbreBinario(ruta, modo); break;
    }
    Tabla()[numero] = std::move(abierto);
}

bool EstaAbierto(int numero) { return Tabla().count(numero) > 0; }

zv::text::TextWriter& Escritor(int numero) {
    Abierto& a = Busca(numero);
    if (a.modo != Salida && a.modo != Agregar) Falla(zv::fileerr::BadFileMode, "Modo de archivo incorrecto");
    return a.escritor;
}

zv::text::TextReader& Lector(int numero) {
    Abierto& a = Busca(numero);
    if (a.modo != Entrada) Falla(zv::fileerr::BadFileMode, "Modo de archivo incorrecto");
    return a.lector;
}

std::FILE* Binario(int numero) {
    Abierto& a = Busca(numero);
    if (EsSecuencial(a.modo)) Falla(zv::fileerr::BadFileMode, "Modo de archivo incorrecto");
    return a.binario;
}

int LargoRegistro(int numero) { return Busca(numero).largo; }

void Cierra(int numero) {
    auto it = Tabla().find(numero);
    if (it == Tabla().end()) return;
    auto abierto = std::move(it->second);
    Tabla().erase(it);
    if (abierto->escritor.IsOpen()) abierto->escritor.Close();
    if (abierto->lector.IsOpen()) abierto->lector.Close();
}

void CierraTodos() {
    while (!Tabla().empty()) Cierra(Tabla().begin()->first);
}

}  // namespace zvform::archivos
