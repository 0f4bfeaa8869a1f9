// Values between the engine's types and SQLite's storage classes.
#include <cmath>
#include <limits>

#include "platform/dao/conversion.h"
#include "platform/dao/internal.h"

namespace dao {

namespace {

[[noreturn]] void ConversionError(const Field& f) {
    throw Error(3421, errtext::For(3421, f.Name()));
}

// Whole number of a value for an integer column, rounding halves to even like the old runtime.
std::int64_t WholeFor(const Value& v, const Field& f) {
    double d;
    switch (v.Type()) {
        case DataType::Text: {
            std::string s = v.AsText();
            if (conv::EqualsIgnoringCase(s, "True")) return -1;
            if (conv::EqualsIgnoringCase(s, "False")) return 0;
            if (!conv::IsNumeric(s)) ConversionError(f);
            d = conv::Val(s);
            break;
        }
        case DataType::Date: ConversionError(f);
        default: d = v.AsDouble();
    }
    d = std::nearbyint(d);
    if (!std::isfinite(d) || std::fabs(d) > 9.2e18) throw Error(6, errtext::For(6));
    return static_cast<std::int64_t>(d);
}

}  // namespace

int BindValue(sqlite3_stmt* stmt, int index, const Value& v, std::string* inPlace) {
    auto bindText = [&](const std::string& s, sqlite3_destructor_type keep) {
        return sqlite3_bind_text(stmt, index, s.data(), static_cast<int>(s.size()), keep);
    };
    switch (v.Type()) {
        case DataType::Null: return sqlite3_bind_null(stmt, index);
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Boolean: return sqlite3_bind_int64(stmt, index, v.AsLong());
        case DataType::Double: return sqlite3_bind_double(stmt, index, v.AsDouble());
        case DataType::Currency: {
            zv::Currency c = v.AsCurrency();
            if (c.Raw() % zv::Currency::kScale == 0) return sqlite3_bind_int64(stmt, index, c.Raw() / zv::Currency::kScale);
            return sqlite3_bind_double(stmt, index, c.ToDouble());
        }
        case DataType::Date: {
            if (!inPlace) return bindText(conv::ToIso(v.AsDate()), SQLITE_TRANSIENT);
            *inPlace = conv::ToIso(v.AsDate());
            return bindText(*inPlace, SQLITE_STATIC);
        }
        case DataType::Text: {
            if (const std::string* text = v.TextPointer(); text && inPlace) return bindText(*text, SQLITE_STATIC);
            return bindText(v.AsText(), SQLITE_TRANSIENT);
        }
    }
    return SQLITE_MISUSE;
}

Value ReadColumn(sqlite3_stmt* stmt, int i, DataType type, bool declared) {
    int storage = sqlite3_column_type(stmt, i);
    if (storage == SQLITE_NULL) return Value();
    auto text = [&] {
        const unsigned char* t = sqlite3_column_text(stmt, i);
        return std::string(reinterpret_cast<const char*>(t), static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
    };
    if (!declared) {
        if (storage == SQLITE_INTEGER) return Value(static_cast<long long>(sqlite3_column_int64(stmt, i)));
        if (storage == SQLITE_FLOAT) return Value(sqlite3_column_double(stmt, i));
        return Value(text());
    }
    switch (type) {
        case DataType::Null:
        case DataType::Text: return Value(text());
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Boolean:
            if (storage == SQLITE_INTEGER) return Value::Typed(type, sqlite3_column_int64(stmt, i));
            if (storage == SQLITE_FLOAT)
                return Value::Typed(type, static_cast<std::int64_t>(std::nearbyint(sqlite3_column_double(stmt, i))));
            return Value(text());  // a value the column's affinity could not convert
        case DataType::Double:
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) return Value(sqlite3_column_double(stmt, i));
            return Value(text());
        case DataType::Currency:
            if (storage == SQLITE_INTEGER)
                return Value(zv::Currency::FromUnits(sqlite3_column_int64(stmt, i)));
            if (storage == SQLITE_FLOAT) return Value(zv::Currency::FromDouble(sqlite3_column_double(stmt, i)));
            if (auto c = zv::Currency::Parse(text())) return Value(*c);
            return Value(text());
        case DataType::Date:
            if (storage == SQLITE_TEXT) {
                std::string s = text();
                if (auto d = conv::ParseDate(s)) return Value(*d);
                return Value(s);
            }
            return Value(conv::FromSerial(sqlite3_column_double(stmt, i)));
    }
    return Value(text());
}

Value ConvertForField(const Value& v, const Field& f) {
    if (v.IsNull()) return v;
    switch (f.Type()) {
        case DataType::Null:
        case DataType::Text:
            if (v.Type() == DataType::Date) {
                Date d = v.AsDate();
                char buf[32];
                std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
                return Value(std::string(buf));
            }
            return Value(v.AsText());
        case DataType::Byte: {
            auto n = WholeFor(v, f);
            if (n < 0 || n > 255) throw Error(6, errtext::For(6));
            return Value::Typed(DataType::Byte, n);
        }
        case DataType::Integer: {
            auto n = WholeFor(v, f);
            if (n < -32768 || n > 32767) throw Error(6, errtext::For(6));
            return Value::Typed(DataType::Integer, n);
        }
        case DataType::Long: {
            auto n = WholeFor(v, f);
            if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
                throw Error(6, errtext::For(6));
            return Value::Typed(DataType::Long, n);
        }
        case DataType::Boolean:
            if (v.Type() == DataType::Text) {
                std::string s = v.AsText();
                if (!conv::EqualsIgnoringCase(s, "True") && !conv::EqualsIgnoringCase(s, "False") &&
                    !conv::IsNumeric(s))
                    ConversionError(f);
            }
            return Value::Typed(DataType::Boolean, v.AsBool() ? 1 : 0);
        case DataType::Double:
            if (v.Type() == DataType::Text && !conv::IsNumeric(v.AsText())) ConversionError(f);
            return Value(v.AsDouble());
        case DataType::Currency:
            if (v.Type() == DataType::Text) {
                auto c = zv::Currency::Parse(v.AsText());
                if (!c) ConversionError(f);
                return Value(*c);
            }
            return Value(v.AsCurrency());
        case DataType::Date:
            if (v.Type() == DataType::Date) return v;
            if (v.Type() == DataType::Text) {
                auto d = conv::ParseDate(v.AsText());
                if (!d) ConversionError(f);
                return Value(*d);
            }
            if (v.Type() == DataType::Boolean) ConversionError(f);
            return Value(conv::FromSerial(v.AsDouble()));
    }
    return v;
}

}  // namespace dao
