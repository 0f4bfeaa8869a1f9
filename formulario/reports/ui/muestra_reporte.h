#pragma once
// How every report of zvform is shown: the spool file `archivo` (its bare
// name, under gRutaRpt) previewed modally with the mode "Vprevia", printed
// at once, without a window, with any other mode. True when it was shown, or
// printed whole; false once the user was told why not (a missing file, a
// failed printer). The main window's registry carries it (MDIFrm::Abridores).
#include <string>

namespace zvform::ui {

bool MuestraReporte(const std::string& archivo, const std::string& modo);

}  // namespace zvform::ui
