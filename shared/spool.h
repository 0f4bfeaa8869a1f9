#pragma once
// Spool files: the text files of drawing records and tag lines that every
// report is written into before it is previewed or printed, and their
// registration in the shared table SPOOL, which also chooses the file name.
//
// A file is Windows-1252 with CR LF (through zv::text::TextWriter). Records:
//   pPos|x|y|text|True/False|size|page|     text at (x, y), twips
//   pCuadro|x1|y1|x2|y2|page|               rectangle (or a rule)
//   pNuevaHoja                              page break for the printer
// Tag lines: <!font!>..<!/font!>, <!nHojas!>N<!/nHojas!>,
// <!Color!>&H........&<!/Color!>, <!Orientacion!>V|H<!/Orientacion!>.
// Pages are numbered from 0 across the whole file.
//
// Typical use (zvform's report run, zvreport's summary):
//   std::string nombre = zv::spool::GeneraArchivoSpool(db, "F84101", ruc, usuario);
//   zv::spool::EscritorSpool w;
//   w.Abre(carpetaRpt / nombre);
//   w.pagina = 1; w.ImprimeLinea(linea); ...
//   w.Cierra();
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/textfile.h"

namespace dao {
class Database;
}

namespace zv::spool {

// The tag lines the writers produce.
inline constexpr std::string_view kTagFuente = "<!font!>Courier New<!/font!>";
inline constexpr std::string_view kTagVertical = "<!Orientacion!>V<!/Orientacion!>";
inline constexpr std::string_view kTagHorizontal = "<!Orientacion!>H<!/Orientacion!>";
// Light cyan background of the declaration reports.
inline constexpr std::string_view kTagColorDeclaracion = "<!Color!>&H00FFFFC0&<!/Color!>";
// The system's window background (text reports).
inline constexpr std::string_view kTagColorVentana = "<!Color!>&H80000005&<!/Color!>";
inline constexpr std::string_view kNuevaHoja = "pNuevaHoja";

// "<!nHojas!>" n "<!/nHojas!>".
std::string TagHojas(int hojas);

bool EsTag(std::string_view linea);             // begins with "<!"
bool EsTagOrientacion(std::string_view linea);  // one of the two orientation tags

// The record lines themselves (without line end).
std::string RegistroPos(int x, int y, std::string_view texto, bool negrita, int tamano, int pagina);
std::string RegistroCuadro(int x1, int y1, int x2, int y2, int pagina);

// Adds `paso` to `posicion` and returns the new position as plain decimal text.
std::string SumaPosicion(int& posicion, int paso);

// Text lines of the fixed-width reports: x 10, size 8, not bold, 175 twips apart.
inline constexpr int kAltoLinea = 175;
inline constexpr int kLineasPorPagina = 83;

// The line writer of one open spool file, with the counters of the run.
class EscritorSpool {
public:
    // `lineasPorPagina`: text lines after which a page break is written
    // (0: never, for one-page documents).
    explicit EscritorSpool(int lineasPorPagina = kLineasPorPagina);

    // Creates (or empties) the file. Throws zv::Error on failure.
    void Abre(const std::filesystem::path& ruta);
    void Cierra();  // flushes; throws zv::Error 57 on a failed write
    bool EstaAbierto() const { return archivo_.IsOpen(); }

    // "pPos" record. The text "pNuevaHoja" writes the bare page break; a text
    // beginning "<!" is written as a tag line while `pagina` is at most 1 and
    // dropped afterwards.
    void ImprimePos(int x, int y, std::string_view texto, bool negrita, int tamano, int pagina);
    void ImprimeCuadro(int x1, int y1, int x2, int y2, int pagina);

    // One line of a fixed-width report. A text line becomes
    // "pPos|10|" y "|" text "|False|8|" (pagina - 1) "|", y advancing by 175
    // from `posY`; `linea` holds that record afterwards. A tag line is
    // written as it stands, except that once `pagina` is above 1 it is
    // dropped, unless the writer's own `linea` member holds an orientation
    // tag (a report that keeps its orientation on every page sets `linea`
    // to the tag and passes it). Text lines count in `lineaActual`; at the
    // 83rd the count goes back to 0, `pagina` grows by 1 and "pNuevaHoja"
    // is written.
    void ImprimeLinea(std::string& texto);

    // A line written as it stands (the closing page count tag, page breaks).
    void EscribeLinea(std::string_view linea);

    // The counters of the run (gPagina, gLineaActual, gPosY, gLinea).
    int pagina = 0;       // text lines go on page pagina - 1
    int lineaActual = 0;  // text lines on the current page
    int posY = 0;         // y of the last text line
    std::string linea;    // the report line being built

private:
    zv::text::TextWriter archivo_;
    int lineasPorPagina_;
};

// Registers a new spool file in SPOOL and returns its name, eight digits and
// ".PRN": Secuencia is one more than the highest of the same report code
// ("000000"), the file number one more than the highest first eight
// characters of any Archivo ("00000000"). Fecha is now; Usuario, tip_doc_d
// and Doc_id_d are the given ones.
//
// The two maxima and the insert run in one immediate transaction, retried
// while another program holds the database, so that zvform and zvreport
// registering at the same moment never get the same name. When the caller
// already has a transaction open on `base`, the registration runs inside it
// (and is undone with it).
//
// Throws dao::Error on a database failure (40002 "S1000..." when the database
// stayed busy) and on a stored maximum that is not a number (13).
std::string GeneraArchivoSpool(dao::Database& base, std::string_view codRep, std::string_view documento,
                               std::string_view usuario, int tipoDocumento = 6);

// Undoes the registration of a spool file that could not be written whole
// (a full folder, a failing disk, a run stopped by an error): its SPOOL row
// and the file, empty or cut, are removed, so that no program lists a report
// that does not exist. `ruta` is the file's path; its name is the row's
// Archivo. It runs while another failure is being reported, so it throws
// nothing: false when the row or the file could not be removed.
bool DescartaArchivoSpool(dao::Database& base, const std::filesystem::path& ruta) noexcept;

}  // namespace zv::spool
