// ZVBAS.INI [Options] and WIN.INI [intl], in the Windows directory.
#include "host/zvbase/instalacion.h"

#include "platform/error.h"
#include "platform/profile.h"
#include "platform/regional.h"

namespace zvbase {

namespace {

void Escribe(std::string_view seccion, std::string_view clave, std::string_view valor, std::string_view archivo) {
    if (!zv::profile::WritePrivateProfileString(seccion, clave, valor, archivo))
        throw zv::Error(zv::fileerr::PermissionDenied,
                        "No se pudo escribir " + std::string(clave) + " en " + std::string(archivo));
}

}  // namespace

void EscribeConfiguracion(const Opciones& o) {
    fs::create_directories(zv::profile::WindowsDirectory());
    const std::string base = CarpetaConBarra(o.carpeta);
    const char* ini = "ZVBAS.INI";
    Escribe("Options", "SysPath", base, ini);
    Escribe("Options", "DBPath", base, ini);
    Escribe("Options", "DBName", kNombreBase, ini);
    Escribe("Options", "SysUser", o.usuario, ini);
    Escribe("Options", "SysHelp", base + "AYUDA/", ini);
    Escribe("Options", "SysMenu", base + "MENU/", ini);
    Escribe("Options", "SysAsist0841", base + "0841/", ini);

    using zv::regional::LocaleValue;
    const std::pair<LocaleValue, const char*> intl[] = {
        {LocaleValue::SDate, "/"},          {LocaleValue::SShortDate, "dd/MM/yyyy"},
        {LocaleValue::STime, ":"},          {LocaleValue::STimeFormat, "hh:mm:ss tt"},
        {LocaleValue::SDecimal, "."},       {LocaleValue::SThousand, ","},
        {LocaleValue::IDigits, "2"},        {LocaleValue::SNegativeSign, "-"},
        {LocaleValue::INegNumber, "1"},     {LocaleValue::ILZero, "1"},
        {LocaleValue::SMonDecimalSep, "."}, {LocaleValue::SMonThousandSep, ","},
        {LocaleValue::ICurrDigits, "2"},    {LocaleValue::ICurrency, "0"},
        {LocaleValue::INegCurr, "2"},
    };
    for (const auto& [valor, texto] : intl) Escribe("intl", zv::regional::IntlKey(valor), texto, "WIN.INI");
}

}  // namespace zvbase
