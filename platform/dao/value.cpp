#include "platform/dao/value.h"

#include <cmath>
#include <cstdio>

#include "platform/dao/conversion.h"
#include "platform/dao/dao.h"

namespace dao {

Value Value::Typed(DataType t, std::int64_t i) {
    Value v;
    v.type_ = t;
    v.v_ = i;
    if (t == DataType::Boolean) v.v_ = static_cast<std::int64_t>(i != 0);
    return v;
}

std::string Value::AsText() const {
    switch (type_) {
        case DataType::Null: return "";
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long: return std::to_string(std::get<std::int64_t>(v_));
        case DataType::Boolean: return std::get<std::int64_t>(v_) ? "True" : "False";
        case DataType::Double: return conv::DoubleText(std::get<double>(v_));
        case DataType::Currency: return std::get<zv::Currency>(v_).ToString();
        case DataType::Date: return conv::ToIso(std::get<Date>(v_));
        case DataType::Text: return std::get<std::string>(v_);
    }
    return "";
}

std::int64_t Value::AsLong() const {
    switch (type_) {
        case DataType::Null: return 0;
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Boolean: return std::get<std::int64_t>(v_);
        case DataType::Double: return static_cast<std::int64_t>(std::trunc(std::get<double>(v_)));
        case DataType::Currency: return std::get<zv::Currency>(v_).Raw() / zv::Currency::kScale;
        case DataType::Date: return static_cast<std::int64_t>(std::trunc(conv::ToSerial(std::get<Date>(v_))));
        case DataType::Text: return static_cast<std::int64_t>(std::trunc(conv::Val(std::get<std::string>(v_))));
    }
    return 0;
}

double Value::AsDouble() const {
    switch (type_) {
        case DataType::Null: return 0;
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Boolean: return static_cast<double>(std::get<std::int64_t>(v_));
        case DataType::Double: return std::get<double>(v_);
        case DataType::Currency: return std::get<zv::Currency>(v_).ToDouble();
        case DataType::Date: return conv::ToSerial(std::get<Date>(v_));
        case DataType::Text: return conv::Val(std::get<std::string>(v_));
    }
    return 0;
}

zv::Currency Value::AsCurrency() const {
    switch (type_) {
        case DataType::Currency: return std::get<zv::Currency>(v_);
        case DataType::Text: {
            const auto& s = std::get<std::string>(v_);
            if (auto c = zv::Currency::Parse(s)) return *c;
            return zv::Currency::FromDouble(conv::Val(s));
        }
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Boolean: return zv::Currency::FromUnits(std::get<std::int64_t>(v_));
        default: return zv::Currency::FromDouble(AsDouble());
    }
}

Date Value::AsDate() const {
    if (type_ == DataType::Date) return std::get<Date>(v_);
    if (type_ == DataType::Text) {
        if (auto d = conv::ParseDate(std::get<std::string>(v_))) return *d;
    }
    throw Error(err::TypeMismatch, "No coinciden los tipos");
}

bool Value::AsBool() const {
    switch (type_) {
        case DataType::Null: return false;
        case DataType::Text: {
            const auto& s = std::get<std::string>(v_);
            if (conv::EqualsIgnoringCase(s, "True")) return true;
            if (conv::EqualsIgnoringCase(s, "False")) return false;
            return conv::Val(s) != 0;
        }
        default: return AsDouble() != 0;
    }
}

}  // namespace dao
