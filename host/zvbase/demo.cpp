// Demonstration data: the four pension fund administrators as declarants of
// the installing user, and an affiliates file of a dozen valid lines for the
// first of them, in FOLDER/demo/.
#include "host/zvbase/instalacion.h"

#include "platform/textfile.h"

namespace zvbase {

namespace {

struct Declarante {
    const char* ruc;
    const char* nombre;
};
const Declarante kAdministradoras[] = {
    {"20142829551", "PROFUTURO AFP"},
    {"20157036794", "AFP INTEGRA S.A."},
    {"20143980821", "AFP HORIZONTE S.A"},
    {"20510398158", "PRIMA AFP S.A."},
};

// 19 fields each ended by "|": employer RUC, document type and number, birth
// date, surnames, names, sex, CUSPP, affiliation and disaffiliation request
// dates, motive, resolution, condition, accrual month and the four amounts.
const char* const kAfiliados[] = {
    "20100070970|01|40123456|23051970|PÉREZ|GÓMEZ|JOSÉ LUIS|1|123456JPGOM1|01071995|15092007|01|RES0001|1|200712|2500.00|250.00|0.00|12.50|",
    "20100070970|01|40123457|14021968|MUÑOZ|ÁVILA|MARÍA INÉS|2|234567MMAVI2|15081996|20092007|02|RES0002|1|200712|3100.50|310.05|50.00|-4.20|",
    "20100070970|01|40123458|02111965|NÚÑEZ|IBÁÑEZ|RAÚL ÁNGEL|1|345678RNIBA3|01061993|01102007|01|RES0003|1|200711|1800|180|0|0|",
    "20500123452|04|CE0045678|30061972|GONZÁLEZ||SOFÍA|2|456789SGONZ4|10011998|05112007|03|RES0004|1|200712|4200.00|420.00|100.00|35.75|",
    "20500123452|07|PA1234567|19091980|O'BRIEN|PEÑA|ANDRÉS|1|567890AOBRI5|20032001|12122007|01|RES0005|1|200712|2750.25|275.03|0.00|8.10|",
    "|01|40123459|08081975||QUISPE|ROSA ELENA|2|678901RQUIS6|01092000|03012008|02|RES0006|2|200712|1500.00|150.00|20.00|0|",
    "|11|P0123456789ABCD|25121985|HUAMÁN|CÁCERES|JESÚS|1|789012JHUAM7|15052005|10012008|01|RES0007|2|200711|1200|120|0|-1.50|",
    "20600987659|01|40123460|11041960|RODRÍGUEZ|LÓPEZ|CARMEN ROCÍO|2|890123CRODR8|01121994|14012008|03|RES0008|1|200712|5000.00|500.00|250.00|60.00|",
    "20600987659|02|PNP00012345|03031978|SÁNCHEZ|DÍAZ|JULIO CÉSAR|1|901234JSANC9|01021999|15012008|01|RES0009|1|200712|2900.00|290.00|0|3.33|",
    "20600987659|03|FAP000987|27071982|VÁSQUEZ|MEJÍA|ÓSCAR|1|012345OVASQ0|01082003|16012008|02|RES0010|1|200712|3300.00|330.00|10.00|0.90|",
    "10401234565|01|40123461|09101980|GUTIÉRREZ|ZÚÑIGA|LUCÍA|2|112233LGUTI1|01042001|17012008|01|RES0011|1|200712|1650.75|165.08|0.00|2.25|",
    "10401234565|01|40123461|09101980|GUTIÉRREZ|ZÚÑIGA|LUCÍA|2|112233LGUTI1|01042001|17012008|01|RES0011|1|200711|1650.75|165.08|0.00|1.10|",
};

}  // namespace

void CargaDemostracion(dao::Database& db, const Opciones& o) {
    db.BeginTrans();
    for (const auto& d : kAdministradoras)
        db.Execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d, nombre, Usuario) VALUES (6, ?, ?, ?)",
                   {d.ruc, d.nombre, o.usuario});
    db.CommitTrans();

    fs::create_directories(o.carpeta / "demo");
    const std::string nombre = std::string("0841") + kPeriodoDemo + kAdministradoras[0].ruc + ".TXT";
    zv::text::TextWriter w(o.carpeta / "demo" / nombre, zv::text::WriteMode::Output);
    for (const char* linea : kAfiliados) w.WriteLine(linea);
    w.Close();
}

}  // namespace zvbase
