// Correctly rounded conversion of a Rational to double: the nearest double,
// ties to even, +-infinity beyond the range, subnormals rounded at their own
// precision. (mpq_get_d truncates, so it is not used.)
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/rational.h"

namespace corv {
namespace {

// |num| / den as a double, num != 0, den > 0.
double quotient_to_double(const Integer& num_in, const Integer& den) {
    Integer num = abs(num_in);
    Integer q, r;
    // Scale so that the integer quotient has at least 66 significant bits.
    long nb = static_cast<long>(mpz_sizeinbase(num.get(), 2));
    long db = static_cast<long>(mpz_sizeinbase(den.get(), 2));
    long shift = 66 - (nb - db);  // value = q * 2^-shift (+ remainder)
    if (shift > 0) {
        mpz_mul_2exp(num.get_mut(), num.get(), static_cast<unsigned long>(shift));
        mpz_tdiv_qr(q.get_mut(), r.get_mut(), num.get(), den.get());
    } else {
        Integer d;
        mpz_mul_2exp(d.get_mut(), den.get(), static_cast<unsigned long>(-shift));
        mpz_tdiv_qr(q.get_mut(), r.get_mut(), num.get(), d.get());
    }
    bool sticky = !r.is_zero();
    long qb = static_cast<long>(mpz_sizeinbase(q.get(), 2));  // 66 or 67
    long exponent = qb - 1 - shift;                           // value in [2^e, 2^(e+1))
    if (exponent > 1023) return HUGE_VAL;
    // Bits kept: 53 for normal numbers, fewer for subnormals.
    long keep = exponent >= -1022 ? 53 : 53 - (-1022 - exponent);
    if (keep < 0) return 0.0;  // below half the smallest subnormal
    long drop = qb - keep;
    // mantissa = q >> drop, rounded to nearest, ties to even.
    Integer m;
    mpz_tdiv_q_2exp(m.get_mut(), q.get(), static_cast<mp_bitcnt_t>(drop));
    bool half = mpz_tstbit(q.get(), static_cast<mp_bitcnt_t>(drop - 1)) != 0;
    bool below = sticky || (mpz_scan1(q.get(), 0) < static_cast<mp_bitcnt_t>(drop - 1));
    if (half && (below || mpz_odd_p(m.get()))) mpz_add_ui(m.get_mut(), m.get(), 1);
    double mant = mpz_get_d(m.get());  // at most 2^53: exact
    return std::ldexp(mant, static_cast<int>(drop - shift));
}

}  // namespace

double Rational::to_double_slow() const {
    if (!is_big()) {
        constexpr std::int64_t kExact = std::int64_t(1) << 53;
        // (Both parts exact in doubles is handled inline.)
        // A power-of-two denominator (values that came from doubles): the
        // numerator is exact in a double and the scaling is exact too.
        if (n_ >= -kExact && n_ <= kExact && (d_ & (d_ - 1)) == 0) {
            return std::ldexp(static_cast<double>(n_), -std::countr_zero(static_cast<std::uint64_t>(d_)));
        }
    }
    const int s = sign();
    if (s == 0) return 0.0;
    double v = quotient_to_double(numerator(), denominator());
    return s < 0 ? -v : v;
}

}  // namespace corv
