// The workgroup file: one "user=hash" line per account, the hash being
// libsodium's Argon2id password string (salt and limits inside it). User
// names match without regard to case, passwords exactly. The limits are
// libsodium's interactive ones: a check costs about a tenth of a second of
// one core (and 64 MiB), once per opening of the database.
//
// A file of the earlier form ("user=salt:digest", a salted SHA-256) holds
// no hash libsodium reads: every account of it is refused (3029) until
// zvbase makes the file anew.
#include "platform/dao/workgroup.h"

#include <sodium.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/dao/conversion.h"
#include "platform/dao/dao.h"
#include "platform/dao/internal.h"
#include "platform/filenames.h"
#include "platform/replace_file.h"

namespace dao::workgroup {

namespace {

const char* kHeader = "# ZVBAS.MDW: cuentas del grupo de trabajo";

struct Account {
    std::string user, hash;
};

// A file that is there but cannot be read is not one without accounts: its
// accounts are kept, and whoever asked is told.
[[noreturn]] void ThrowUnreadable(const std::string& systemDb) {
    throw Error(err::SystemDbMissing, "No se puede leer el archivo de información del grupo de trabajo '" + systemDb +
                                          "'. Compruebe que el usuario tiene permiso para leerlo.");
}

[[noreturn]] void ThrowMissingOrLocked(const std::string& systemDb) {
    throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));
}

enum class Reading { Read, Missing, Unreadable };

// The file's lines, CR dropped.
Reading ReadLines(const std::string& path, std::vector<std::string>& lines) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(path, ec)) return ec ? Reading::Unreadable : Reading::Missing;
    if (fs::is_directory(path, ec)) return Reading::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Reading::Unreadable;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return in.bad() ? Reading::Unreadable : Reading::Read;
}

bool ParseLine(const std::string& raw, Account& a) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') return false;
    auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    a.user = line.substr(0, eq);
    a.hash = line.substr(eq + 1);
    return true;
}

void StartSodium(const std::string& systemDb) {
    if (sodium_init() < 0) throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));
}

std::string HashOf(const std::string& password, const std::string& systemDb) {
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));  // out of memory
    return hash;
}

bool Verifies(const std::string& hash, const std::string& password) {
    if (hash.size() >= crypto_pwhash_STRBYTES) return false;
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace

void AddAccount(const std::string& systemDb, const std::string& user, const std::string& password) {
    std::vector<std::string> lines, kept;
    if (ReadLines(systemDb, lines) == Reading::Unreadable) ThrowUnreadable(systemDb);
    for (const auto& line : lines) {
        Account a;
        if (ParseLine(line, a) && !conv::EqualsIgnoringCase(a.user, user)) kept.push_back(line);
    }
    StartSodium(systemDb);
    kept.push_back(user + "=" + HashOf(password, systemDb));
    std::string bytes = std::string(kHeader) + "\r\n";
    for (const auto& l : kept) bytes += l + "\r\n";
    std::error_code ec;
    if (!zv::files::WriteReplacing(systemDb, bytes, ec)) ThrowMissingOrLocked(systemDb);
}

void CheckAccount(const std::string& systemDb, const std::string& user, const std::string& password) {
    if (systemDb.empty()) ThrowMissingOrLocked(systemDb);
    std::string path = systemDb;
    if (auto found = zv::files::FindIgnoringCase(path)) path = found->string();
    std::vector<std::string> lines;
    const Reading reading = ReadLines(path, lines);
    if (reading == Reading::Missing) ThrowMissingOrLocked(systemDb);
    if (reading == Reading::Unreadable) ThrowUnreadable(systemDb);
    StartSodium(systemDb);
    bool header = false;
    for (const auto& line : lines) {
        if (line.rfind("# ZVBAS.MDW", 0) == 0) header = true;
        Account a;
        if (!ParseLine(line, a)) continue;
        if (conv::EqualsIgnoringCase(a.user, user) && Verifies(a.hash, password)) return;
    }
    if (!header) ThrowMissingOrLocked(systemDb);
    throw Error(err::NotValidAccount, errtext::For(err::NotValidAccount));
}

}  // namespace dao::workgroup
