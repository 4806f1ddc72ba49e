#include "bevel/setback.h"

#include "core/panic.h"

namespace corv {
namespace {

Integer floor_of(const Rational& q) {
    Integer out;
    mpz_fdiv_q(out.get_mut(), q.numerator().get(), q.denominator().get());
    return out;
}

Integer shifted(const Integer& v, unsigned long bits) {
    Integer out;
    mpz_mul_2exp(out.get_mut(), v.get(), bits);
    return out;
}

// The exact root of a square integer, or nothing.
bool exact_root(const Integer& v, Integer& root) {
    root = isqrt(v);
    return root * root == v;
}

}  // namespace

Rational simplest_between(const Rational& lo, const Rational& hi) {
    // Continued fractions of both ends, shared while they agree; the first
    // place they part takes the smallest integer between them. The value
    // is (p z + p_prev) / (q z + q_prev) for the remaining tail z.
    Rational x = lo, y = hi;
    Integer p(1), p_prev(0), q(0), q_prev(1);
    for (;;) {
        const Integer a = floor_of(x);
        const Rational fa = Rational::from_integer(a);
        Integer z;
        if (fa == x) {
            z = a;
        } else if (Rational::from_integer(a + Integer(1)) <= y) {
            z = a + Integer(1);
        } else {
            Integer next_p = a * p + p_prev, next_q = a * q + q_prev;
            p_prev = std::move(p);
            q_prev = std::move(q);
            p = std::move(next_p);
            q = std::move(next_q);
            Rational nx = Rational(1) / (y - fa), ny = Rational(1) / (x - fa);
            x = std::move(nx);
            y = std::move(ny);
            continue;
        }
        return Rational(p * z + p_prev, q * z + q_prev);
    }
}

Setback setback_scale(const Rational& dist, const Rational& q) {
    if (q.sign() <= 0) throw Panic(PanicKind::division_by_zero, "chamfer: a direction across an edge has length 0");
    const Integer n = q.numerator(), d = q.denominator();
    Integer rn, rd;
    if (exact_root(n, rn) && exact_root(d, rd)) return Setback{dist * Rational(rd, rn), true};
    // sqrt(q) = sqrt(n d 4^k) / (d 2^k); with r = isqrt(n d 4^k) >= 2^55 the
    // root lies in [r, r + 1) / (d 2^k), an interval of relative width below 2^-55.
    const Integer nd = n * d;
    const std::size_t bits = mpz_sizeinbase(nd.get(), 2);
    const unsigned long k = bits >= 112 ? 0 : static_cast<unsigned long>((112 - bits) / 2 + 1);
    const Integer r = isqrt(shifted(nd, 2 * k));
    const Integer scale = shifted(d, k);
    const Rational root = simplest_between(Rational(r, scale), Rational(r + Integer(1), scale));
    return Setback{dist / root, false};
}

}  // namespace corv
