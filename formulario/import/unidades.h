#pragma once
// The drives and folders the import form browses. A "drive" is a file
// system the user can read from: the root, the home folder and the media
// mounted under /media, /run/media and /mnt, each under a short name.
// Failures are told by the numbers the form's drive messages are keyed on.
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace zvimport {

struct Unidad {
    std::string nombre;      // short name shown and named in the messages
    std::string raiz;        // its top folder
    bool montaje = false;    // removable medium: gone once it is unmounted
};

// The drives of this machine, in the order listed.
std::vector<Unidad> UnidadesDelSistema();

// Where the drive list comes from; tests put temporary folders in its place.
std::function<std::vector<Unidad>()>& FuenteDeUnidades();
std::vector<Unidad> LeeUnidades();  // through the source above

// The mount table the media are read from ("/proc/self/mounts"); tests name
// a file of their own. When it cannot be read, a medium counts as mounted
// while its folder lies on another device than the folder above it.
std::string& TablaDeMontajes();

// The drive whose root holds the path (the longest such root), -1 when none.
int UnidadDeRuta(const std::vector<Unidad>& unidades, const std::string& ruta);

// The text of a drive-list item: the short name and its root.
std::string TextoUnidad(const Unidad& unidad);

// A failure reading a drive or a folder: 0 when there is none.
struct FallaCarpeta {
    int numero = 0;
    std::string descripcion;  // the system's own words, for unclassified ones
    explicit operator bool() const { return numero != 0; }
};

// Error numbers of the drive messages.
inline constexpr int kUnidadNoDisponible = 68;
inline constexpr int kUnidadNoLista = 71;
inline constexpr int kRutaNoEncontrada = 76;
inline constexpr int kErrorAccesoRuta = 75;

// The number of a system failure: for a drive's root a missing folder means
// the medium is gone (68); a folder that is gone is 76; one that cannot be
// read, or a device that does not answer, 71; the rest 75.
FallaCarpeta ClasificaFalla(const std::error_code& ec, bool esRaiz);

// Whether the drive can be read now: its root exists, is a folder that can
// be listed and, for a medium, is still mounted. The root and the home
// folder need no mount test.
FallaCarpeta RevisaUnidad(const Unidad& unidad);

// The folders inside `carpeta`, by name without regard to case.
FallaCarpeta LeeSubcarpetas(const std::string& carpeta, std::vector<std::string>& nombres);

// The folders from the drive's root down to `carpeta`, both included (just
// the root when the folder lies outside the drive).
std::vector<std::string> CaminoDesdeRaiz(const std::string& raiz, const std::string& carpeta);

// The message of a drive failure (lines joined by line feeds); `unidad`
// names the drive.
std::string MensajeErrorUnidad(const FallaCarpeta& falla, const std::string& unidad);

}  // namespace zvimport
