#pragma once
// Fixed-point currency: a 64-bit count of ten-thousandths, like the engine's
// Currency type. Sums of amounts never go through binary floating point.
// A value beyond the type's range (about 922,337,203,685,477) is never
// made: every operation that would make one throws zv::Error 6
// "Desbordamiento", as the old runtime raised its overflow error.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

class Currency {
public:
    static constexpr std::int64_t kScale = 10000;
    constexpr Currency() = default;
    static constexpr Currency FromRaw(std::int64_t raw) { Currency c; c.raw_ = raw; return c; }
    static Currency FromUnits(std::int64_t units);
    // Rounds to 4 decimals, half away from zero; not a number or beyond the
    // range throws error 6.
    static Currency FromDouble(double v);
    // "1234.5", "-0.60", " 12 ", "1e3" is refused; nullopt when not a number or out of range.
    static std::optional<Currency> Parse(std::string_view text);

    constexpr std::int64_t Raw() const { return raw_; }
    double ToDouble() const { return static_cast<double>(raw_) / kScale; }
    // Whole units rounded half away from zero.
    std::int64_t RoundedUnits() const;
    // Rounded to n decimals (0..4), half away from zero.
    Currency Rounded(int decimals) const;
    // Text with a point and no grouping, trailing zeros dropped ("12.5", "-3", "0").
    std::string ToString() const;

    // Checked arithmetic: false on overflow, leaving *this unchanged.
    bool TryAdd(Currency other);
    // Arithmetic that throws error 6 on overflow.
    Currency operator-() const;
    friend Currency operator+(Currency a, Currency b);
    friend Currency operator-(Currency a, Currency b);
    friend auto operator<=>(Currency, Currency) = default;

private:
    std::int64_t raw_ = 0;
};

}  // namespace zv
