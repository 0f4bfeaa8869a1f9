#pragma once
// A field value with its engine type, as the programs read and assign them.
#include <cstdint>
#include <string>
#include <variant>

#include "platform/currency.h"

namespace dao {

enum class DataType { Null, Byte, Integer, Long, Double, Currency, Date, Text, Boolean };

struct Date {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

class Value {
public:
    Value() = default;  // Null
    Value(std::nullptr_t) {}
    Value(bool b) : type_(DataType::Boolean), v_(static_cast<std::int64_t>(b)) {}
    Value(int i) : type_(DataType::Long), v_(static_cast<std::int64_t>(i)) {}
    Value(long i) : type_(DataType::Long), v_(static_cast<std::int64_t>(i)) {}
    Value(long long i) : type_(DataType::Long), v_(static_cast<std::int64_t>(i)) {}
    Value(double d) : type_(DataType::Double), v_(d) {}
    Value(zv::Currency c) : type_(DataType::Currency), v_(c) {}
    Value(const Date& d) : type_(DataType::Date), v_(d) {}
    Value(std::string s) : type_(DataType::Text), v_(std::move(s)) {}
    Value(const char* s) : type_(DataType::Text), v_(std::string(s)) {}
    static Value Typed(DataType t, std::int64_t i);  // Byte/Integer/Long/Boolean

    DataType Type() const { return type_; }
    bool IsNull() const { return type_ == DataType::Null; }

    // Text of the value: "" for Null; numbers with a point and no blanks;
    // dates "yyyy-mm-dd" (plus " hh:mm:ss" when there is a time); booleans "True"/"False".
    std::string AsText() const;
    // The stored text of a Text value, without a copy; null for any other type.
    const std::string* TextPointer() const {
        return type_ == DataType::Text ? std::get_if<std::string>(&v_) : nullptr;
    }
    std::int64_t AsLong() const;      // numbers truncated toward zero; text read Val-like; Null 0
    double AsDouble() const;
    zv::Currency AsCurrency() const;
    Date AsDate() const;               // throws dao::Error 13 (type mismatch) when not a date
    bool AsBool() const;

    friend bool operator==(const Value&, const Value&) = default;

private:
    DataType type_ = DataType::Null;
    std::variant<std::monostate, std::int64_t, double, zv::Currency, Date, std::string> v_;
};

}  // namespace dao
