#include "platform/currency.h"

#include <cmath>
#include <limits>

namespace zv {

namespace {

// Divides raw by divisor rounding half away from zero.
std::int64_t DivRound(std::int64_t raw, std::int64_t divisor) {
    std::int64_t q = raw / divisor;
    std::int64_t r = raw % divisor;
    if (2 * (r < 0 ? -r : r) >= divisor) q += (raw < 0 ? -1 : 1);
    return q;
}

}  // namespace

Currency Currency::FromDouble(double v) {
    return FromRaw(static_cast<std::int64_t>(std::llround(v * kScale)));
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
    return FromRaw(DivRound(raw_, step) * step);
}

std::string Currency::ToString() const {
    std::int64_t a = raw_ < 0 ? -raw_ : raw_;
    std::string s = std::to_string(a / kScale);
    std::int64_t frac = a % kScale;
    if (frac != 0) {
        std::string f = std::to_string(frac + kScale).substr(1);
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return raw_ < 0 ? "-" + s : s;
}

bool Currency::TryAdd(Currency other) {
    std::int64_t out;
    if (__builtin_add_overflow(raw_, other.raw_, &out)) return false;
    raw_ = out;
    return true;
}

}  // namespace zv
