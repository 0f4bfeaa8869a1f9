#pragma once
// A disk that fills up, for the database layer. While the object lives,
// SQLite's default VFS is one of the tests' own that passes everything to
// the system's VFS, except what needs more space than is left: a write fails
// as on a full disk (SQLITE_FULL), and so does the growth of a WAL
// database's shared-memory file (an I/O error of errno ENOSPC, as the system
// VFS reports it). Space is unlimited until Llena.
//
// Only connections opened while the object lives go through it; open the
// database again after making one. Those connections stay usable after it
// is gone (with unlimited space).
#include <cstdint>
#include <filesystem>

namespace zvtest {

// A file of a full disk, for the text files: `ruta` becomes a link to the
// system's /dev/full, where opening works and every write fails for lack of
// space (ENOSPC), as a full folder answers a program writing a new file.
// False where the system has no such device (the test is then skipped).
bool ArchivoDeDiscoLleno(const std::filesystem::path& ruta);

class DiscoLleno {
public:
    DiscoLleno();
    ~DiscoLleno();
    DiscoLleno(const DiscoLleno&) = delete;
    DiscoLleno& operator=(const DiscoLleno&) = delete;

    // From now on only `bytesLibres` more bytes fit.
    void Llena(std::int64_t bytesLibres = 0);
    // Space is back: nothing is refused any more.
    void Libera();
    // Writes refused since the object was made.
    int Rechazos() const;
};

}  // namespace zvtest
