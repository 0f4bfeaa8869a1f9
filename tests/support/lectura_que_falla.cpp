#include "tests/support/lectura_que_falla.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace zvtest {

namespace {

// PIPE_BUF: a write of at most this many bytes reaches the pipe whole.
constexpr std::size_t kEscrituraEntera = 4096;

void EscribeTodo(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) return;  // the reader went away
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// The length of the line that begins at `desde` (its line end included).
std::size_t HastaFinDeLinea(const std::string& s, std::size_t desde) {
    std::size_t fin = s.find('\n', desde);
    return fin == std::string::npos ? s.size() - desde : fin + 1 - desde;
}

}  // namespace

LecturaQueFalla::LecturaQueFalla(std::filesystem::path ruta, std::string contenido, std::size_t leidos, int enteras)
    : ruta_(std::move(ruta)), contenido_(std::move(contenido)), leidos_(leidos), enteras_(enteras) {
    if (leidos_ >= contenido_.size() || contenido_[leidos_] == '\n' || leidos_ > kEscrituraEntera)
        throw std::invalid_argument(
            "LecturaQueFalla: the failure must fall inside a line, before its LF, within one pipe write");
    std::filesystem::remove(ruta_);
    if (::mkfifo(ruta_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + ruta_.string());
    hilo_ = std::thread([this] { Sirve(); });
}

LecturaQueFalla::~LecturaQueFalla() {
    fin_ = true;
    // A thread waiting for a reader to open the pipe is let through by one
    // that opens and closes it at once.
    while (!terminado_) {
        int fd = ::open(ruta_.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        std::this_thread::yield();
    }
    hilo_.join();
    std::error_code ec;
    std::filesystem::remove(ruta_, ec);
}

void LecturaQueFalla::Sirve() {
    for (int n = 0; n <= enteras_ && !fin_; ++n) {
        const int escritor = ::open(ruta_.c_str(), O_WRONLY);  // waits for the next reader
        if (escritor < 0) break;
        if (!fin_) {
            ++servidas_;  // before any byte: a reader that read something finds it counted
            if (n < enteras_) SirveEntera(escritor);
            else SirveCortada(escritor);
        }
        ::close(escritor);
    }
    terminado_ = true;
}

void LecturaQueFalla::SirveEntera(int escritor) const { EscribeTodo(escritor, contenido_); }

void LecturaQueFalla::SirveCortada(int escritor) const {
    const int lector = DescriptorDelLector(escritor);
    if (lector < 0) return;
    // The bytes before the failure go before the reader can fail: if it
    // already waits in its read, it takes them blocking.
    EscribeTodo(escritor, std::string_view(contenido_).substr(0, leidos_));
    ::fcntl(lector, F_SETFL, ::fcntl(lector, F_GETFL) | O_NONBLOCK);
    // A reader that emptied the pipe and waits again (it went back before the
    // descriptor was made non-blocking) is woken by the rest of the line but
    // its LF, one byte at least; one that did not wait fails at its next read
    // whether or not it took them. Either way no further line is read whole.
    const std::size_t resto = HastaFinDeLinea(contenido_, leidos_);
    EscribeTodo(escritor, std::string_view(contenido_).substr(leidos_, resto - 1));
    // The pipe stays open and empty until the reader has closed it.
    pollfd espera{escritor, 0, 0};
    while (!fin_) {
        if (::poll(&espera, 1, 100) > 0 && (espera.revents & POLLERR)) break;
    }
}

// The reader opened the pipe when the writer's open returned; its
// descriptor may take a moment more to appear. Looked up by number, so that
// no /proc is needed.
int LecturaQueFalla::DescriptorDelLector(int escritor) const {
    struct stat propio {};
    if (::fstat(escritor, &propio) != 0) return -1;
    while (!fin_) {
        for (int fd = 0, hasta = ::getdtablesize(); fd < hasta; ++fd) {
            struct stat s {};
            if (fd == escritor || ::fstat(fd, &s) != 0) continue;
            if (s.st_dev == propio.st_dev && s.st_ino == propio.st_ino && (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY)
                return fd;
        }
        std::this_thread::yield();
    }
    return -1;
}

}  // namespace zvtest
