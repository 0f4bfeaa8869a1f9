// The shared database: the workgroup file with the programs' accounts, the
// base tables in the column orders the programs rely on, and their first rows.
#include <cstdio>

#include "host/zvbase/instalacion.h"
#include "platform/dao/workgroup.h"
#include "shared/cuentas.h"

namespace zvbase {

namespace {

// Every text column of the base tables accepts empty text (the programs write
// "" into CAB.cheque, PARAM.Correl_param, envio_t.tabla_ext ...).
const char* const kTablas[] = {
    "CREATE TABLE CONT (Tip_doc_d Byte, Doc_id_d Text(15), nombre Text(100), Usuario Text(20), "
    "CONSTRAINT PK_CONT PRIMARY KEY (Tip_doc_d, Doc_id_d))",
    "CREATE TABLE CLAVES (Usuario Text(20), Tipo Text(1), CONSTRAINT PK_CLAVES PRIMARY KEY (Usuario))",
    "CREATE TABLE PARAM (Numero Text(3), Argumento Text(15), Funcion Text(255), Correl_param Text(3), "
    "CONSTRAINT PK_PARAM PRIMARY KEY (Numero, Argumento))",
    "CREATE TABLE CAB (tip_doc_d Byte, doc_id_d Text(15), periodo Text(6), formulario Text(4), "
    "semana Byte DEFAULT 0, estado Byte, rectifica Byte, fec_pro Text(10), bcolibrad Text(2), NroCheque Text(15), "
    "cheque Text(15), efectivo Text(15), cNumero Text(6), "
    "CONSTRAINT PK_CAB PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana))",
    "CREATE TABLE DET (tip_doc_d Byte, doc_id_d Text(15), periodo Text(6), formulario Text(4), "
    "semana Byte DEFAULT 0, casilla Text(3), i_valor Text(60), idcasilla Text(2), estado Byte, cNumero Text(6), "
    "CONSTRAINT PK_DET PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla))",
    "CREATE TABLE HCAB (tip_doc_d Byte, doc_id_d Text(15), periodo Text(6), formulario Text(4), "
    "semana Byte DEFAULT 0, Correl Text(3), estado Byte, rectifica Byte, fec_pro Text(10), bcolibrad Text(2), "
    "NroCheque Text(15), cheque Text(15), efectivo Text(15), norden Text(8), fec_env Date, control Text(8), "
    "cNumero Text(6), CONSTRAINT PK_HCAB PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, Correl))",
    "CREATE TABLE HDET (tip_doc_d Byte, doc_id_d Text(15), periodo Text(6), formulario Text(4), "
    "semana Byte DEFAULT 0, Correl Text(3), casilla Text(3), i_valor Text(60), idcasilla Text(2), estado Byte, "
    "cNumero Text(6), CONSTRAINT PK_HDET PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, Correl, "
    "casilla))",
    "CREATE TABLE SPOOL (CodRep Text(6), Secuencia Text(6), Archivo Text(12), Fecha Date, Usuario Text(20), "
    "tip_doc_d Byte, Doc_id_d Text(15), CONSTRAINT PK_SPOOL PRIMARY KEY (Archivo))",
    "CREATE TABLE reportes (codrep Text(6), titulo Text(60), numero Long, "
    "CONSTRAINT PK_reportes PRIMARY KEY (codrep))",
    "CREATE TABLE envio_t (formulario Text(4), tabla_o Text(20), tabla_d Text(20), tabla_ext Text(20), "
    "indice Byte, obliga Byte, c_tip_doc_d Byte, c_doc_id_d Short, c_Formulario Short, c_periodo Short, "
    "c_estado Short, c_envio Short, c_semana Short, CONSTRAINT PK_envio_t PRIMARY KEY (formulario, tabla_o))",
};

struct Banco {
    const char* codigo;
    const char* nombre;
};
const Banco kBancos[] = {
    {"00", "NINGUNO"},
    {"02", "BANCO DE CREDITO DEL PERU"},
    {"03", "INTERBANK"},
    {"09", "SCOTIABANK PERU"},
    {"11", "BBVA BANCO CONTINENTAL"},
    {"18", "BANCO DE LA NACION"},
    {"23", "BANCO DE COMERCIO"},
};

struct TipoDocumento {
    const char* argumento;
    const char* nombre;  // positions 1-30
    const char* corto;   // positions 31-42
    const char* longitud;  // positions 46-47
    char soloLongitud;     // position 130: "1" when the number must have that length
};
const TipoDocumento kTipos[] = {
    {"1", "DOC. NACIONAL DE IDENTIDAD", "DNI", "08", '0'},
    {"2", "CARNE DE FUERZAS POLICIALES", "CARNE FF.PP.", "12", '0'},
    {"3", "CARNE DE FUERZAS ARMADAS", "CARNE FF.AA.", "12", '0'},
    {"4", "CARNE DE EXTRANJERIA", "CARNE EXT.", "12", '0'},
    {"6", "REG. UNICO DE CONTRIBUYENTES", "RUC", "11", '1'},
    {"7", "PASAPORTE", "PASAPORTE", "12", '0'},
    {"11", "PARTIDA DE NACIMIENTO", "PART. NAC.", "15", '0'},
};

// The fixed-position 130-character text of a document type.
std::string FuncionTipo(const TipoDocumento& t) {
    std::string f(130, ' ');
    auto pon = [&](std::size_t desde1, const std::string& texto) { f.replace(desde1 - 1, texto.size(), texto); };
    pon(1, t.nombre);
    pon(31, t.corto);
    pon(46, t.longitud);
    f[129] = t.soloLongitud;
    return f;
}

std::string Rellena(std::string s, std::size_t ancho) {
    if (s.size() < ancho) s.append(ancho - s.size(), ' ');
    return s;
}

}  // namespace

void CreaGrupoDeTrabajo(const Opciones& o) {
    const std::string mdw = (o.carpeta / kGrupoTrabajo).string();
    for (const auto& cuenta : {zv::cuentas::Zvform(), zv::cuentas::Zvsetup(), zv::cuentas::Zvcheck(),
                               zv::cuentas::Zvreport()})
        dao::workgroup::AddAccount(mdw, cuenta.usuario, cuenta.clave);
}

std::unique_ptr<dao::Database> CreaBase(const Opciones& o, dao::DBEngine& engine) {
    auto cuenta = zv::cuentas::Zvsetup();
    engine.SystemDB = (o.carpeta / kGrupoTrabajo).string();
    engine.DefaultUser = cuenta.usuario;
    engine.DefaultPassword = cuenta.clave;
    return engine.CreateDatabase((o.carpeta / kNombreBase).string());
}

void CreaTablasBase(dao::Database& db) {
    db.BeginTrans();
    for (const char* sql : kTablas) db.Execute(sql);
    for (const auto& tabla : db.TableDefs())
        for (const auto& campo : tabla.Fields())
            if (campo.Type() == dao::DataType::Text) db.SetAllowZeroLength(tabla.Name(), campo.Name(), true);
    db.CommitTrans();
}

void CargaFilasBase(dao::Database& db, const std::string& usuario) {
    db.BeginTrans();
    const char* param = "INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES (?, ?, ?, '')";
    for (const auto& b : kBancos) db.Execute(param, {"004", b.codigo, Rellena(b.nombre, 36)});
    for (const auto& t : kTipos) db.Execute(param, {"044", t.argumento, FuncionTipo(t)});
    db.Execute("INSERT INTO CLAVES (Usuario, Tipo) VALUES (?, '0')", {usuario});
    db.CommitTrans();
}

}  // namespace zvbase
