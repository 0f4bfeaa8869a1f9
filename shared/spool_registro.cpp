// Registration of a new spool file in SPOOL: the numbering and the row.
#include <cctype>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/dao/dao.h"
#include "platform/textfile.h"
#include "shared/reloj.h"
#include "shared/spool.h"

namespace zv::spool {

namespace {

// How long a registration waits for another program's write to end (each
// attempt already waits the engine's busy timeout).
constexpr auto kEsperaMaxima = std::chrono::seconds(60);
constexpr auto kPausa = std::chrono::milliseconds(5);

bool Ocupada(const dao::Error& e) { return e.Number() == dao::err::OdbcCallFailed; }

// An immediate transaction (a savepoint inside the caller's transaction when
// one is open): the write lock is taken before the maxima are read, so no
// other connection can read the same maxima until this row is committed.
class TransaccionRegistro {
public:
    explicit TransaccionRegistro(dao::Database& base) : base_(base) {
        auto limite = std::chrono::steady_clock::now() + kEsperaMaxima;
        for (;;) {
            try {
                base_.BeginTrans();
                return;
            } catch (const dao::Error& e) {
                if (!Ocupada(e) || std::chrono::steady_clock::now() >= limite) throw;
            }
            std::this_thread::sleep_for(kPausa);
        }
    }
    ~TransaccionRegistro() {
        if (abierta_) try {
                base_.Rollback();
            } catch (...) {
            }
    }
    TransaccionRegistro(const TransaccionRegistro&) = delete;
    TransaccionRegistro& operator=(const TransaccionRegistro&) = delete;
    void Confirma() {
        base_.CommitTrans();
        abierta_ = false;
    }

private:
    dao::Database& base_;
    bool abierta_ = true;
};

// The stored maximum as a whole number (0 when Null); a text that is not a
// number is a type mismatch, as the old CLng conversion raised.
long long ComoNumero(const dao::Value& v) {
    if (v.IsNull()) return 0;
    if (v.Type() != dao::DataType::Text) return v.AsLong();
    const std::string t = zv::text::Trim(v.AsText());
    if (t.empty()) throw dao::Error(dao::err::TypeMismatch, "No coinciden los tipos");
    for (unsigned char c : t)
        if (!std::isdigit(c)) throw dao::Error(dao::err::TypeMismatch, "No coinciden los tipos");
    return std::stoll(t);
}

long long Maximo(dao::Database& base, std::string_view sql, const std::vector<dao::Value>& params) {
    auto rs = base.OpenRecordset(sql, dao::dbOpenSnapshot, params);
    long long n = rs->EOF_() ? 0 : ComoNumero(rs->Fields(0));
    rs->Close();
    return n;
}

// n with leading zeros to `ancho` digits ("00000042").
std::string ConCeros(long long n, int ancho) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", ancho, n);
    return buf;
}

dao::Date Ahora() {
    const std::tm l = zv::HoraLocal();
    return dao::Date{l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec};
}

}  // namespace

std::string GeneraArchivoSpool(dao::Database& base, std::string_view codRep, std::string_view documento,
                               std::string_view usuario, int tipoDocumento) {
    TransaccionRegistro transaccion(base);
    long long secuencia =
        Maximo(base, "SELECT max(Secuencia) AS SecTipo FROM SPOOL WHERE CodRep = ?", {std::string(codRep)});
    long long numero = Maximo(base, "SELECT max(substr(Archivo,1,8)) AS SecRep FROM SPOOL", {});
    std::string archivo = ConCeros(numero + 1, 8) + ".PRN";
    base.Execute(
        "INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, tip_doc_d, Doc_id_d) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)",
        {std::string(codRep), ConCeros(secuencia + 1, 6), archivo, Ahora(), std::string(usuario),
         tipoDocumento, std::string(documento)});
    transaccion.Confirma();
    return archivo;
}

bool DescartaArchivoSpool(dao::Database& base, const std::filesystem::path& ruta) noexcept {
    bool descartado = true;
    try {
        const std::string archivo = ruta.filename().string();
        base.Execute("DELETE FROM SPOOL WHERE Archivo = ?", {archivo});
    } catch (...) {
        descartado = false;  // the database itself failing: the error already shown says enough
    }
    std::error_code ec;
    std::filesystem::remove(ruta, ec);  // a file never created is no failure
    return descartado && !ec;
}

}  // namespace zv::spool
