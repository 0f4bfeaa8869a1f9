// The engine's error numbers and descriptions, and how SQLite's result codes map to them.
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/dao/internal.h"

namespace dao {

namespace errtext {

std::string For(long number, std::string_view object) {
    std::string o(object);
    switch (number) {
        case 6: return "Desbordamiento";
        case err::TypeMismatch: return "No coinciden los tipos";
        case err::SyntaxError: return "Error de sintaxis en la instrucción SQL" + (o.empty() ? "" : ": " + o);
        case err::TableExists: return "La tabla '" + o + "' ya existe.";
        case err::ObjectNotFound:
            return "El motor de base de datos no pudo encontrar el objeto '" + o +
                   "'. Asegúrese de que el objeto existe y de que escribe su nombre correctamente.";
        case 3020: return "Update o CancelUpdate sin AddNew o Edit.";
        case err::NoCurrentRecord: return "No hay registro activo.";
        case err::DuplicateKey:
            return "Los cambios solicitados en la tabla no se realizaron correctamente porque crearían valores "
                   "duplicados en el índice, clave principal o relación.";
        case err::FileNotFound: return "No se pudo encontrar el archivo '" + o + "'.";
        case 3026: return "No hay espacio suficiente en el disco.";
        case 3027: return "No se puede actualizar. La base de datos o el objeto es de sólo lectura.";
        case err::SystemDbMissing:
            return "No se puede iniciar la aplicación. Falta el archivo de información del grupo de trabajo '" + o +
                   "' o está abierto en modo exclusivo por otro usuario.";
        case err::NotValidAccount: return "No es una cuenta válida o la contraseña es incorrecta.";
        case 3034: return "Ha intentado confirmar o deshacer una transacción sin haber iniciado ninguna.";
        case 3043: return "Error de disco o de red.";
        case err::DatabaseLocked:
            return "El motor de base de datos no puede abrir el archivo '" + o +
                   "'. Ya está abierto en modo exclusivo por otro usuario o necesita permiso para ver sus datos.";
        case 3058: return "El índice o la clave principal no puede contener un valor nulo (campo '" + o + "').";
        case 3061: return "Pocos parámetros. Se esperaba al menos uno más" + (o.empty() ? "." : ": " + o);
        case err::FieldTooSmall:
            return "El campo '" + o +
                   "' es demasiado pequeño para aceptar la cantidad de datos que intentó agregar. Intente insertar "
                   "o pegar menos datos.";
        case 3164: return "No se puede actualizar el campo '" + o + "'.";
        case 3167: return "El registro fue eliminado.";
        case 3265: return "Elemento no encontrado en esta colección ('" + o + "').";
        case err::PrimaryKeyExists: return "Ya existe la clave principal de la tabla '" + o + "'.";
        case 3314: return "El campo '" + o + "' no puede contener un valor nulo.";
        case err::ZeroLengthString: return "El campo '" + o + "' no puede ser una cadena de longitud cero.";
        case 3317: return "Una o más reglas de validación prohíben los valores" + (o.empty() ? "." : ": " + o);
        case 3343: return "Formato de base de datos no reconocido '" + o + "'.";
        case 3375: return "La tabla ya tiene un índice llamado '" + o + "'.";
        case err::InvalidObject: return "El objeto no es válido o ya no está definido.";
        case 3421: return "Error en la conversión del tipo de datos" + (o.empty() ? "." : " (campo '" + o + "').");
        case err::OdbcCallFailed:
            return "S1000: la tabla está bloqueada por otro usuario; se agotaron los reintentos de acceso" +
                   (o.empty() ? "." : " (" + o + ").");
    }
    return "Error del motor de base de datos" + (o.empty() ? "" : ": " + o);
}

}  // namespace errtext

namespace {

// Our column checks raise "ZVnnnn:column".
bool ParseCheckMessage(const char* msg, long& number, std::string& column) {
    if (std::strncmp(msg, "ZV", 2) != 0 || !std::isdigit(static_cast<unsigned char>(msg[2]))) return false;
    char* end = nullptr;
    number = std::strtol(msg + 2, &end, 10);
    column = (end && *end == ':') ? std::string(end + 1) : std::string();
    return true;
}

std::string QuotedNameAfter(const std::string& msg, const char* marker) {
    auto at = msg.find(marker);
    if (at == std::string::npos) return "";
    std::string rest = msg.substr(at + std::strlen(marker));
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '"')) rest.erase(0, 1);
    auto stop = rest.find_first_of("\" ");
    return rest.substr(0, stop);
}

}  // namespace

bool DiskFull(int rc, int systemErrno) {
    const int primary = rc & 0xff;
    return primary == SQLITE_FULL || (primary == SQLITE_IOERR && (systemErrno == ENOSPC || systemErrno == EDQUOT));
}

long OpeningError(int rc, int systemErrno) {
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_PERM || primary == SQLITE_READONLY)
        return err::DatabaseLocked;
    if (DiskFull(rc, systemErrno)) return err::DiskFull;
    // Only the engine's own verdict on the file's contents calls it damaged.
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) return err::UnrecognizedFormat;
    return err::DiskError;
}

void ThrowInvalidObject() { throw Error(err::InvalidObject, errtext::For(err::InvalidObject)); }

void Database::Impl::Throw(long number, std::string description) {
    lastErrors = {{number, description}};
    if (transactionEndedBy.empty() && db && TransactionEndedByEngine()) transactionEndedBy = lastErrors;
    if (DBEngine* e = Engine()) e->RecordErrors(lastErrors);
    throw Error(number, std::move(description));
}

void Database::Impl::Fail(int rc, std::string_view context) {
    int ext = db ? sqlite3_extended_errcode(db) : rc;
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int primary = rc & 0xff;
    long number;
    std::string column;
    if (ParseCheckMessage(msg.c_str(), number, column)) Throw(number, errtext::For(number, column));
    if (ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY)
        Throw(err::DuplicateKey, errtext::For(err::DuplicateKey));
    if (ext == SQLITE_CONSTRAINT_NOTNULL) Throw(3314, errtext::For(3314, QuotedNameAfter(msg, "failed:")));
    if (primary == SQLITE_CONSTRAINT) Throw(3317, errtext::For(3317, msg));
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        Throw(err::OdbcCallFailed, errtext::For(err::OdbcCallFailed, msg));
    if (primary == SQLITE_READONLY) Throw(3027, errtext::For(3027));
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) Throw(3343, errtext::For(3343, path));
    if (DiskFull(rc, db ? sqlite3_system_errno(db) : 0)) Throw(err::DiskFull, errtext::For(err::DiskFull));
    if (primary == SQLITE_IOERR) Throw(3043, errtext::For(3043));
    if (primary == SQLITE_TOOBIG) Throw(err::FieldTooSmall, errtext::For(err::FieldTooSmall));
    if (primary == SQLITE_RANGE) Throw(3061, errtext::For(3061, msg));
    if (primary == SQLITE_MISMATCH) Throw(err::TypeMismatch, errtext::For(err::TypeMismatch));
    if (msg.find("no such table") != std::string::npos) {
        std::string name = QuotedNameAfter(msg, "no such table:");
        auto dot = name.find('.');
        if (dot != std::string::npos && name.substr(0, dot) == "main") name = name.substr(dot + 1);
        Throw(err::ObjectNotFound, errtext::For(err::ObjectNotFound, name));
    }
    if (msg.find("already exists") != std::string::npos) {
        if (msg.rfind("index", 0) == 0) Throw(3375, errtext::For(3375, QuotedNameAfter(msg, "index")));
        Throw(err::TableExists, errtext::For(err::TableExists, QuotedNameAfter(msg, "table")));
    }
    if (msg.find("no such column") != std::string::npos) Throw(3061, errtext::For(3061, msg));
    std::string detail = msg;
    if (!context.empty()) detail += " [" + std::string(context) + "]";
    Throw(err::SyntaxError, errtext::For(err::SyntaxError, detail));
}

}  // namespace dao
