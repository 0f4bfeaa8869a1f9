#include "platform/currency.h"

#include <cmath>
#include <limits>

#include "platform/error.h"

namespace zv {

namespace {

constexpr long kDesbordamiento = 6;

[[noreturn]] void Desborde() { throw Error(kDesbordamiento, "Desbordamiento"); }

// The magnitude of a raw value, the smallest one included.
std::uint64_t Magnitud(std::int64_t raw) {
    return raw < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
}

// Divides raw by divisor rounding half away from zero.
std::int64_t DivRound(std::int64_t raw, std::int64_t divisor) {
    std::int64_t q = raw / divisor;
    std::int64_t r = raw % divisor;
    if (2 * (r < 0 ? -r : r) >= divisor) q += (raw < 0 ? -1 : 1);
    return q;
}

}  // namespace

Currency Currency::FromUnits(std::int64_t units) {
    std::int64_t raw;
    if (__builtin_mul_overflow(units, kScale, &raw)) Desborde();
    return FromRaw(raw);
}

Currency Currency::FromDouble(double v) {
    // 2^63 and -2^63 are exact doubles; anything from 2^63 up has no raw value.
    constexpr double kLimite = 9223372036854775808.0;
    const double escalado = std::round(v * kScale);
    if (!(escalado >= -kLimite && escalado < kLimite)) Desborde();
    return FromRaw(static_cast<std::int64_t>(escalado));
}

std::optional<Currency> Currency::Parse(std::string_view text) {
    std::size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (n > i && text[n - 1] == ' ') --n;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t whole = 0, frac = 0;
    int fracDigits = 0;
    bool digits = false, point = false;
    constexpr std::int64_t kMaxWhole = std::numeric_limits<std::int64_t>::max() / kScale - 1;
    for (; i < n; ++i) {
        char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (!point) {
                whole = whole * 10 + (c - '0');
                if (whole > kMaxWhole) return std::nullopt;
            } else if (fracDigits < 4) {
                frac = frac * 10 + (c - '0');
                ++fracDigits;
            } else if (fracDigits == 4) {
                // Fifth decimal decides the rounding of the fourth.
                if (c >= '5') ++frac;
                ++fracDigits;
            }
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    for (int k = fracDigits; k < 4; ++k) frac *= 10;
    std::int64_t raw = whole * kScale + frac;
    return FromRaw(negative ? -raw : raw);
}

std::int64_t Currency::RoundedUnits() const { return DivRound(raw_, kScale); }

Currency Currency::Rounded(int decimals) const {
    if (decimals >= 4) return *this;
    std::int64_t step = 1;
    for (int k = decimals; k < 4; ++k) step *= 10;
    std::int64_t raw;
    if (__builtin_mul_overflow(DivRound(raw_, step), step, &raw)) Desborde();
    return FromRaw(raw);
}

std::string Currency::ToString() const {
    const std::uint64_t a = Magnitud(raw_);
    std::string s = std::to_string(a / kScale);
    const std::uint64_t frac = a % kScale;
    if (frac != 0) {
        std::string f = std::to_string(frac + kScale).substr(1);
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return raw_ < 0 ? "-" + s : s;
}

Currency Currency::operator-() const {
    std::int64_t raw;
    if (__builtin_sub_overflow(std::int64_t(0), raw_, &raw)) Desborde();
    return FromRaw(raw);
}

Currency operator+(Currency a, Currency b) {
    std::int64_t raw;
    if (__builtin_add_overflow(a.raw_, b.raw_, &raw)) Desborde();
    return Currency::FromRaw(raw);
}

Currency operator-(Currency a, Currency b) {
    std::int64_t raw;
    if (__builtin_sub_overflow(a.raw_, b.raw_, &raw)) Desborde();
    return Currency::FromRaw(raw);
}

bool Currency::TryAdd(Currency other) {
    std::int64_t out;
    if (__builtin_add_overflow(raw_, other.raw_, &out)) return false;
    raw_ = out;
    return true;
}

}  // namespace zv
