#include "core/exact_double.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "core/panic.h"

namespace corv {

Rational from_double(double d) {
    if (!std::isfinite(d))
        throw Panic(PanicKind::invalid_argument, "from_double: not a finite number (NaN or infinity)");
    if (d == 0) return Rational();
    int exponent = 0;
    const double fraction = std::frexp(d, &exponent);  // d = fraction * 2^exponent, 1/2 <= |fraction| < 1
    // The significand as an odd integer: d = mantissa * 2^exponent exactly.
    auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 53));  // |mantissa| < 2^53: exact
    exponent -= 53;
    const int zeros = std::countr_zero(static_cast<std::uint64_t>(mantissa));
    mantissa /= std::int64_t(1) << zeros;
    exponent += zeros;
    const auto magnitude = static_cast<std::uint64_t>(mantissa < 0 ? -mantissa : mantissa);
    const int bits = 64 - std::countl_zero(magnitude);
    if (exponent >= 0) {
        if (exponent + bits <= 62) return Rational(mantissa * (std::int64_t(1) << exponent));
        Integer n(mantissa);
        mpz_mul_2exp(n.get_mut(), n.get(), static_cast<mp_bitcnt_t>(exponent));
        return Rational::from_integer(n);
    }
    if (-exponent <= 62) return Rational(mantissa) / Rational(std::int64_t(1) << -exponent);
    Integer den(1);
    mpz_mul_2exp(den.get_mut(), den.get(), static_cast<mp_bitcnt_t>(-exponent));
    return Rational(Integer(mantissa), den);
}

}  // namespace corv
