#include "formulario/import/fila.h"

#include "platform/dao/conversion.h"

namespace zvimport {

namespace {

[[noreturn]] void NoHayFila() { throw dao::Error(dao::err::NoCurrentRecord, "No hay un registro activo."); }
[[noreturn]] void NoHayCampo(std::string_view nombre) {
    throw dao::Error(3265, "No se encontró el elemento en esta colección: " + std::string(nombre));
}

}  // namespace

FilaEnMemoria::FilaEnMemoria(std::vector<dao::Field> columnas)
    : valores(columnas.size()), columnas_(std::move(columnas)) {}

void FilaEnMemoria::MoveNext() { NoHayFila(); }
void FilaEnMemoria::Delete() { NoHayFila(); }
void FilaEnMemoria::AddNew() { valores.assign(columnas_.size(), dao::Value()); }

int FilaEnMemoria::Indice(std::string_view name) const {
    for (std::size_t i = 0; i < columnas_.size(); ++i)
        if (dao::conv::EqualsIgnoringCase(columnas_[i].Name(), name)) return static_cast<int>(i);
    return -1;
}

const dao::Value& FilaEnMemoria::Fields(std::string_view name) const {
    int i = Indice(name);
    if (i < 0) NoHayCampo(name);
    return valores[i];
}

const dao::Value& FilaEnMemoria::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) NoHayCampo(std::to_string(index));
    return valores[index];
}

void FilaEnMemoria::SetField(std::string_view name, const dao::Value& v) {
    int i = Indice(name);
    if (i < 0) NoHayCampo(name);
    valores[i] = v;
}

void FilaEnMemoria::SetField(int index, const dao::Value& v) {
    if (index < 0 || index >= FieldCount()) NoHayCampo(std::to_string(index));
    valores[index] = v;
}

}  // namespace zvimport
