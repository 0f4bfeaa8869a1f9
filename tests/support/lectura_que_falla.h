#pragma once
// A file whose reading fails part-way, as a medium pulled out or a failing
// disk makes it fail: a named pipe at `ruta` that a thread of the test feeds.
// The openings of the file for reading are served in turn: the first
// `enteras` read `contenido` whole to its end; the next one reads the first
// `leidos` bytes of it (and maybe the next few, never up to the end of their
// line), and the read after them fails. `leidos` falls inside a line, before
// its LF. For that the reader's descriptor
// is made non-blocking and the pipe is left open and empty, so the system
// answers the read with an error (EAGAIN) instead of data or the end.
//
// The reader must be of this process (its descriptor is looked up here).
// Nothing more is served after the failing opening.
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

namespace zvtest {

class LecturaQueFalla {
public:
    LecturaQueFalla(std::filesystem::path ruta, std::string contenido, std::size_t leidos, int enteras = 0);
    ~LecturaQueFalla();
    LecturaQueFalla(const LecturaQueFalla&) = delete;
    LecturaQueFalla& operator=(const LecturaQueFalla&) = delete;

    // Openings served so far, the failing one included.
    int Servidas() const { return servidas_; }

private:
    void Sirve();
    void SirveEntera(int escritor) const;
    void SirveCortada(int escritor) const;
    int DescriptorDelLector(int escritor) const;

    std::filesystem::path ruta_;
    std::string contenido_;
    std::size_t leidos_;
    int enteras_;
    std::atomic<int> servidas_{0};
    std::atomic<bool> fin_{false};
    std::atomic<bool> terminado_{false};
    std::thread hilo_;
};

}  // namespace zvtest
