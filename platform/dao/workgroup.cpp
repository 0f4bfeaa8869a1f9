// The workgroup file: one "user=salt:digest" line per account, the digest
// being SHA-256 of the salt followed by the password. User names match
// without regard to case, passwords exactly.
#include "platform/dao/workgroup.h"

#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "platform/dao/conversion.h"
#include "platform/dao/dao.h"
#include "platform/dao/internal.h"
#include "platform/dao/sha256.h"
#include "platform/filenames.h"

namespace dao::workgroup {

namespace {

const char* kHeader = "# ZVBAS.MDW: cuentas del grupo de trabajo";

struct Account {
    std::string user, salt, digest;
};

bool ParseLine(const std::string& raw, Account& a) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') return false;
    auto eq = line.find('=');
    auto colon = line.find(':', eq == std::string::npos ? 0 : eq);
    if (eq == std::string::npos || colon == std::string::npos) return false;
    a.user = line.substr(0, eq);
    a.salt = line.substr(eq + 1, colon - eq - 1);
    a.digest = line.substr(colon + 1);
    return true;
}

std::string NewSalt() {
    std::random_device rd;
    std::ostringstream s;
    for (int i = 0; i < 4; ++i) {
        char buf[9];
        std::snprintf(buf, sizeof buf, "%08x", rd());
        s << buf;
    }
    return s.str();
}

}  // namespace

void AddAccount(const std::string& systemDb, const std::string& user, const std::string& password) {
    std::vector<std::string> kept;
    {
        std::ifstream in(systemDb, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Account a;
            if (ParseLine(line, a) && !conv::EqualsIgnoringCase(a.user, user)) kept.push_back(line);
        }
    }
    std::string salt = NewSalt();
    kept.push_back(user + "=" + salt + ":" + detail::Sha256Hex(salt + password));
    std::ofstream out(systemDb, std::ios::binary | std::ios::trunc);
    if (!out) throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));
    out << kHeader << "\r\n";
    for (const auto& l : kept) out << l << "\r\n";
    out.close();
    if (!out) throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));
}

void CheckAccount(const std::string& systemDb, const std::string& user, const std::string& password) {
    std::string path = systemDb;
    if (!path.empty())
        if (auto found = zv::files::FindIgnoringCase(path)) path = found->string();
    std::ifstream in(path, std::ios::binary);
    if (systemDb.empty() || !in) throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));
    std::string line;
    bool header = false;
    while (std::getline(in, line)) {
        if (line.rfind("# ZVBAS.MDW", 0) == 0) header = true;
        Account a;
        if (!ParseLine(line, a)) continue;
        if (conv::EqualsIgnoringCase(a.user, user) && detail::Sha256Hex(a.salt + password) == a.digest) return;
    }
    if (!header) throw Error(err::SystemDbMissing, errtext::For(err::SystemDbMissing, systemDb));
    throw Error(err::NotValidAccount, errtext::For(err::NotValidAccount));
}

}  // namespace dao::workgroup
