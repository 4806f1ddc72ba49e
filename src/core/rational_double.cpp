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
double quotient_to_double(mpz_srcptr num_in, mpz_srcptr den) {
    mpz_t num, q, r;
    mpz_init(num);
    mpz_init(q);
    mpz_init(r);
    mpz_abs(num, num_in);
    // Scale so that the integer quotient has at least 66 significant bits.
    long nb = static_cast<long>(mpz_sizeinbase(num, 2));
    long db = static_cast<long>(mpz_sizeinbase(den, 2));
    long shift = 66 - (nb - db);  // value = q * 2^-shift (+ remainder)
    if (shift > 0) {
        mpz_mul_2exp(num, num, static_cast<unsigned long>(shift));
        mpz_tdiv_qr(q, r, num, den);
    } else {
        mpz_t d;
        mpz_init(d);
        mpz_mul_2exp(d, den, static_cast<unsigned long>(-shift));
        mpz_tdiv_qr(q, r, num, d);
        mpz_clear(d);
    }
    bool sticky = mpz_sgn(r) != 0;
    long qb = static_cast<long>(mpz_sizeinbase(q, 2));  // 66 or 67
    long exponent = qb - 1 - shift;                     // value in [2^e, 2^(e+1))
    double result;
    if (exponent > 1023) {
        result = HUGE_VAL;
    } else {
        // Bits kept: 53 for normal numbers, fewer for subnormals.
        long keep = exponent >= -1022 ? 53 : 53 - (-1022 - exponent);
        if (keep < 0) {
            result = 0.0;  // below half the smallest subnormal
        } else {
            long drop = qb - keep;
            // mantissa = q >> drop, rounded to nearest, ties to even.
            mpz_t m;
            mpz_init(m);
            mpz_tdiv_q_2exp(m, q, static_cast<unsigned long>(drop));
            bool half = mpz_tstbit(q, static_cast<mp_bitcnt_t>(drop - 1)) != 0;
            bool below = sticky || (mpz_scan1(q, 0) < static_cast<mp_bitcnt_t>(drop - 1));
            if (half && (below || mpz_odd_p(m))) mpz_add_ui(m, m, 1);
            double mant = mpz_get_d(m);  // at most 2^53: exact
            result = std::ldexp(mant, static_cast<int>(drop - shift));
            mpz_clear(m);
        }
    }
    mpz_clear(num);
    mpz_clear(q);
    mpz_clear(r);
    return result;
}

}  // namespace

double Rational::to_double() const {
    if (!is_big()) {
        constexpr std::int64_t kExact = std::int64_t(1) << 53;
        if (n_ >= -kExact && n_ <= kExact && d_ <= kExact) {
            return static_cast<double>(n_) / static_cast<double>(d_);
        }
        // A power-of-two denominator (values that came from doubles): the
        // numerator is exact in a double and the scaling is exact too.
        if (n_ >= -kExact && n_ <= kExact && (d_ & (d_ - 1)) == 0) {
            return std::ldexp(static_cast<double>(n_), -std::countr_zero(static_cast<std::uint64_t>(d_)));
        }
    }
    if (sign() == 0) return 0.0;
    mpq_t q;
    mpq_init(q);
    to_mpq(q);
    double v = quotient_to_double(mpq_numref(q), mpq_denref(q));
    bool negative = mpq_sgn(q) < 0;
    mpq_clear(q);
    return negative ? -v : v;
}

}  // namespace corv
