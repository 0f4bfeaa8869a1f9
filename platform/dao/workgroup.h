#pragma once
// The workgroup file (ZVBAS.MDW): the accounts that may open the database.
// A small text file of "user=hash" lines (Argon2id password strings of
// libsodium); passwords are never stored.
#include <string>

namespace dao::workgroup {

// Creates the file (or adds to it) with one account. A file that is there
// but cannot be read is left as it is: dao::Error 3028, saying so.
void AddAccount(const std::string& systemDb, const std::string& user, const std::string& password);
// Throws dao::Error 3028 when the file is missing or unreadable (each told
// in its own words), 3029 when the account is not in it.
void CheckAccount(const std::string& systemDb, const std::string& user, const std::string& password);

}  // namespace dao::workgroup
