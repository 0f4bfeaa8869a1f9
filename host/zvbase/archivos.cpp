// The installation's folders and the module's files that the base product
// ships: the send descriptors tmp/env841.txt and the help text 0841/zvform.hlp.
#include "host/zvbase/instalacion.h"

#include "platform/textfile.h"

namespace zvbase {

namespace {

// One envio_t row per line, 13 fields each ended by "|": (unused), origin
// table, destination table, external table, index, obligatory flag, and the
// positions of the document type, document number, form, period, state, send
// and week columns in the origin table.
const char* const kEnvios[] = {
    "01|CAB|HCAB| |1|1|1|2|4|3|6|0|5|",
    "02|DET|HDET| |2|1|1|2|4|3|9|0|5|",
    "03|F841DETDES|HF841DETDES| |3|0|1|2|4|3|0|0|0|",
};

const char* const kAyuda[] = {
    "AYUDA DEL FORMULARIO 0841 - SOLVENDA",
    "",
    "Este módulo permite elaborar la declaración de los afiliados que se desafiliaron",
    "del Sistema Privado de Pensiones (SPP): por cada afiliado y mes de devengue se",
    "registran los aportes obligatorios, los aportes voluntarios con fin previsional",
    "y la rentabilidad e intereses que corresponden.",
    "",
    "CÓMO SE TRABAJA",
    "  1. Importe el archivo de afiliados del declarante y periodo (Declaraciones >",
    "     Importar información de afiliados): la importación registra la declaración",
    "     con sus casillas 590 a 598 calculadas del detalle de afiliados.",
    "  2. Ábrala con Declaraciones > Actualizar: elija la declaración en la lista.",
    "  3. Corrija o complete las casillas, el teléfono y la forma de pago.",
    "  4. Validar: revisa la información; las inconsistencias se muestran en una lista",
    "     que puede leer e imprimir.",
    "  5. Grabar: guarda la declaración; queda consistente o con inconsistencias.",
    "  6. Imprímala con Declaraciones > Imprimir.",
    "",
    "DECLARACIONES",
    "  Actualizar: abre una declaración registrada para corregirla, validarla y grabarla.",
    "  Eliminar: borra una declaración registrada con todo su detalle de afiliados.",
    "  Importar información de afiliados: registra una declaración desde su archivo.",
    "  Imprimir: el formulario, el anexo de afiliados o ambos, en vista preliminar o",
    "  directamente a la impresora.",
    "",
    "DECLARACIONES ENVIADAS",
    "  Ver declaraciones enviadas: consulta una declaración ya enviada y registra su",
    "  número de orden. También puede eliminarlas e imprimirlas.",
    "",
    "CONSULTAS",
    "  Bancos y Motivos de desafiliación: los códigos que usa la declaración.",
    "",
    "IMPORTAR INFORMACIÓN DE AFILIADOS",
    "  El archivo se llama 0841 + periodo (AAAAMM) + RUC + .TXT: 084120080120142829551.TXT",
    "  es el del periodo 01/2008 y el RUC 20142829551. Es un texto en Windows-1252 (ANSI)",
    "  con líneas terminadas en CR LF. Un archivo guardado en UTF-8, como lo guardan por",
    "  omisión los editores de Linux, hace rechazar cada línea que lleve tildes o eñes",
    "  (\"El apellido paterno del afiliado debe ser alfanumérico.\", por ejemplo).",
    "  Cada línea tiene 19 campos, cada uno seguido del separador |, en este orden:",
    "  RUC del empleador, tipo y número de documento del afiliado, fecha de nacimiento",
    "  (ddmmaaaa), apellido paterno, apellido materno, nombres, sexo (1 masculino,",
    "  2 femenino), CUSPP, fecha de afiliación al SPP, fecha de solicitud de",
    "  desafiliación, motivo de desafiliación (01, 02 o 03), número de resolución,",
    "  condición de aporte (1 dependiente, 2 independiente), mes de devengue (AAAAMM),",
    "  remuneración asegurable, aporte obligatorio, aporte voluntario y rentabilidad e",
    "  intereses.",
    "  Tipos de documento: 01 DNI, 02 carné de las Fuerzas Policiales, 03 carné de las",
    "  Fuerzas Armadas, 04 carné de extranjería, 07 pasaporte, 11 partida de nacimiento.",
    "  Los montos llevan punto decimal y hasta dos decimales, sin separador de miles.",
    "  Si algún registro es rechazado no se graba ninguno. La pregunta final nombra el",
    "  archivo .Log de la carpeta RPT, que guarda las líneas rechazadas tal como se leyeron;",
    "  respondiendo Sí se muestra el Reporte de errores de transferencia, que da por cada",
    "  línea rechazada el RUC del empleador, el tipo y número de documento, el mes de",
    "  devengue y la descripción de su error (el archivo .Err de RPT guarda lo mismo).",
    "",
    "IMPRESIÓN",
    "  Elija la declaración y el tipo de reporte: formulario, anexo de afiliados o ambos.",
    "  Sin impresora, el reporte se guarda como archivo PDF en la carpeta RPT; el mensaje",
    "  final indica su ruta.",
    "",
    "CONFIGURACIÓN REGIONAL",
    "  Separador de fecha /, fecha corta dd/MM/aaaa, símbolo decimal punto y separador",
    "  de miles coma.",
};

void EscribeLineas(const fs::path& ruta, const char* const* lineas, std::size_t n) {
    zv::text::TextWriter w(ruta, zv::text::WriteMode::Output);
    for (std::size_t i = 0; i < n; ++i) w.WriteLine(lineas[i]);
    w.Close();
}

}  // namespace

void CreaCarpetas(const Opciones& o) {
    for (const char* sub : {"", "RPT", "TMP", "tmp", "0841", "AYUDA", "MENU"}) fs::create_directories(o.carpeta / sub);
    if (o.demo) fs::create_directories(o.carpeta / "demo");
}

void EscribeArchivosDelModulo(const Opciones& o) {
    EscribeLineas(o.carpeta / "tmp" / "env841.txt", kEnvios, std::size(kEnvios));
    EscribeLineas(o.carpeta / "0841" / "zvform.hlp", kAyuda, std::size(kAyuda));
}

}  // namespace zvbase
