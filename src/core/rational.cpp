#include "core/rational.h"

#include <limits>
#include <new>

#include "core/machine_int.h"
#include "core/memory_budget.h"
#include "core/panic.h"

namespace corv {
namespace {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr std::int64_t kSmallMax = std::numeric_limits<std::int64_t>::max();

std::uint64_t mag(std::int64_t v) { return v < 0 ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v); }

u128 mag128(i128 v) { return v < 0 ? u128(0) - u128(v) : u128(v); }

void mpz_set_u128(mpz_ptr z, u128 v) {
    mpz_set_ui(z, static_cast<unsigned long>(v >> 64));
    mpz_mul_2exp(z, z, 64);
    mpz_add_ui(z, z, static_cast<unsigned long>(v & ~std::uint64_t(0)));
}

mpq_ptr new_mpq() {
    mpq_ptr q = new __mpq_struct;
    mpq_init(q);
    return q;
}

// A scoped mpq for intermediate values.
struct TempQ {
    mpq_t q;
    TempQ() { mpq_init(q); }
    ~TempQ() { mpq_clear(q); }
    TempQ(const TempQ&) = delete;
    TempQ& operator=(const TempQ&) = delete;
};

// The bytes of a big value's limbs, for the memory budget's checks.
std::int64_t limb_bytes(mpq_srcptr q) {
    return static_cast<std::int64_t>((mpz_size(mpq_numref(q)) + mpz_size(mpq_denref(q))) * sizeof(mp_limb_t));
}

}  // namespace

Rational::Rational(std::int64_t v) : n_(v), d_(1) {
    if (v == std::numeric_limits<std::int64_t>::min()) {
        mpq_ptr q = new_mpq();
        mpq_set_si(q, v, 1);
        q_ = q;
        d_ = 0;
    }
}

Rational::Rational(const Integer& num, const Integer& den) : n_(0), d_(1) {
    if (den.is_zero()) throw Panic(PanicKind::zero_denominator, "zero denominator");
    TempQ t;
    mpz_set(mpq_numref(t.q), num.get());
    mpz_set(mpq_denref(t.q), den.get());
    mpq_canonicalize(t.q);
    *this = from_mpq(t.q);
}

Rational Rational::from_integer(const Integer& v) {
    // An integer needs no reduction: no temporary and no gcd.
    mpz_srcptr z = v.get();
    if (mpz_fits_slong_p(z)) {
        long n = mpz_get_si(z);
        if (n != std::numeric_limits<long>::min()) return Rational(static_cast<std::int64_t>(n));
    }
    mpq_ptr q = new_mpq();
    mpz_set(mpq_numref(q), z);
    return Rational(BigTag{}, q);
}

void Rational::copy_big(const Rational& o) {
    // Called from the copy constructor: this is a bitwise copy of o so far.
    n_ = 0;
    d_ = 1;
    memory::require(limb_bytes(o.q_));
    mpq_ptr q = new_mpq();
    mpq_set(q, o.q_);
    q_ = q;
    d_ = 0;
}

Rational& Rational::assign_big(const Rational& o) {
    if (this == &o) return *this;
    if (!o.is_big()) {
        if (is_big()) release();
        n_ = o.n_;
        d_ = o.d_;
        return *this;
    }
    memory::require(limb_bytes(o.q_));
    if (is_big()) {
        mpq_set(q_, o.q_);
    } else {
        mpq_ptr q = new_mpq();
        mpq_set(q, o.q_);
        q_ = q;
        d_ = 0;
    }
    return *this;
}

Rational& Rational::operator=(Rational&& o) noexcept {
    if (this == &o) return *this;
    if (is_big()) release();
    n_ = o.n_;
    d_ = o.d_;
    o.n_ = 0;
    o.d_ = 1;
    return *this;
}

void Rational::release() noexcept {
    mpq_clear(q_);
    delete q_;
    n_ = 0;
    d_ = 1;
}

void Rational::to_mpq(mpq_ptr out) const {
    if (is_big()) {
        mpq_set(out, q_);
    } else {
        mpz_set_si(mpq_numref(out), n_);
        mpz_set_si(mpq_denref(out), d_);
    }
}

Rational Rational::from_mpq(mpq_ptr q) {
    mpz_srcptr num = mpq_numref(q);
    mpz_srcptr den = mpq_denref(q);
    if (mpz_fits_slong_p(num) && mpz_fits_slong_p(den)) {
        long n = mpz_get_si(num);
        long d = mpz_get_si(den);
        if (n != std::numeric_limits<long>::min()) {
            Rational r;
            r.n_ = n;
            r.d_ = d;
            return r;
        }
    }
    mpq_ptr h = new_mpq();
    mpq_swap(h, q);
    return Rational(BigTag{}, h);
}

Rational Rational::from_i128_big(i128 num, u128 den) {
    const u128 m = mag128(num);
    mpq_ptr h = new_mpq();
    mpz_set_u128(mpq_numref(h), m);
    if (num < 0) mpz_neg(mpq_numref(h), mpq_numref(h));
    mpz_set_u128(mpq_denref(h), den);
    return Rational(BigTag{}, h);
}

Rational Rational::from_ratio_i128(i128 num, i128 den) {
    if (den == 0) throw Panic(PanicKind::division_by_zero, "division by zero");
    constexpr i128 kLowest = i128(u128(1) << 127);  // -2^127, whose magnitude no i128 holds
    if (num == kLowest || den == kLowest) {
        throw Panic(PanicKind::invalid_argument, "from_ratio_i128: a part is -2^127");
    }
    const bool negative = (num < 0) != (den < 0);
    u128 n = mag128(num), d = mag128(den);  // both below 2^127
    const u128 g = gcd128(n, d);
    if (g != 1) {
        n /= g;
        d /= g;
    }
    return from_i128(negative ? -static_cast<i128>(n) : static_cast<i128>(n), d);
}

template <class Op>
Rational Rational::big_op(const Rational& a, const Rational& b, Op op) {
    TempQ x, y, r;
    a.to_mpq(x.q);
    b.to_mpq(y.q);
    // The result and GMP's scratch space stay within a few times the limbs
    // of the operands: checked against the memory budget before GMP is asked.
    const std::size_t limbs =
        mpz_size(mpq_numref(x.q)) + mpz_size(mpq_denref(x.q)) + mpz_size(mpq_numref(y.q)) + mpz_size(mpq_denref(y.q));
    memory::require(static_cast<std::int64_t>(limbs * sizeof(mp_limb_t) * 4));
    op(r.q, x.q, y.q);
    return from_mpq(r.q);
}

int Rational::big_sign() const { return mpq_sgn(q_); }

bool Rational::is_integer() const { return is_big() ? mpz_cmp_ui(mpq_denref(q_), 1) == 0 : d_ == 1; }

Integer Rational::numerator() const { return is_big() ? Integer::copy_of(mpq_numref(q_)) : Integer(n_); }

Integer Rational::denominator() const { return is_big() ? Integer::copy_of(mpq_denref(q_)) : Integer(d_); }

Rational Rational::add_small(std::int64_t an, std::int64_t ad, std::int64_t bn, std::int64_t bd) {
    if (ad == 1 && bd == 1) return from_i128(i128(an) + bn, 1);
    // With one integer the sum needs no reduction: gcd(an + bn*ad, ad) =
    // gcd(an, ad) = 1, and it is not zero (an/ad with ad > 1 is not an integer).
    if (bd == 1) return from_i128(i128(bn) * ad + an, u128(ad));
    if (ad == 1) return from_i128(i128(an) * bd + bn, u128(bd));
    std::uint64_t ud = std::uint64_t(ad), vd = std::uint64_t(bd);
    std::uint64_t g = ad == bd ? ud : gcd64(ud, vd);
    if (g == 1) {
        // Coprime denominators, both > 1: the sum is reduced and non-zero.
        i128 num = i128(an) * i128(vd) + i128(bn) * i128(ud);
        return from_i128(num, u128(ud) * vd);
    }
    std::uint64_t s = vd / g, t = ud / g;
    i128 num = i128(an) * i128(s) + i128(bn) * i128(t);
    if (num == 0) return Rational();
    // 128-bit division is a library call: most sums fit 64 bits, and most
    // second gcds are 1.
    const u128 m = mag128(num);
    const std::uint64_t rem = m <= u128(~std::uint64_t(0)) ? std::uint64_t(m) % g : std::uint64_t(m % g);
    std::uint64_t g2 = gcd64(rem, g);
    if (g2 == 1) return from_i128(num, u128(t) * vd);
    const i128 reduced = m <= u128(kSmallMax) ? i128(std::int64_t(num) / std::int64_t(g2)) : num / i128(g2);
    return from_i128(reduced, u128(t) * (vd / g2));
}

Rational operator+(const Rational& a, const Rational& b) {
    if (a.is_big() || b.is_big()) return Rational::big_op(a, b, mpq_add);
    return Rational::add_small(a.n_, a.d_, b.n_, b.d_);
}

Rational operator-(const Rational& a) {
    if (a.is_big()) {
        TempQ r;
        mpq_neg(r.q, a.q_);
        return Rational::from_mpq(r.q);
    }
    Rational r;
    r.n_ = -a.n_;
    r.d_ = a.d_;
    return r;
}

Rational Rational::halved() const {
    if (!is_big()) {
        if ((n_ & 1) == 0) {
            Rational r;
            r.n_ = n_ / 2;
            r.d_ = d_;
            return r;
        }
        return from_i128(n_, u128(d_) * 2);
    }
    TempQ r;
    mpq_div_2exp(r.q, q_, 1);
    return from_mpq(r.q);
}

Rational operator-(const Rational& a, const Rational& b) {
    if (a.is_big() || b.is_big()) return Rational::big_op(a, b, mpq_sub);
    return Rational::add_small(a.n_, a.d_, -b.n_, b.d_);  // |n_| < 2^63: the negation fits
}

Rational operator*(const Rational& a, const Rational& b) {
    if (a.is_big() || b.is_big()) return Rational::big_op(a, b, mpq_mul);
    if (a.n_ == 0 || b.n_ == 0) return Rational();
    // Divisions are skipped where the gcd is 1 (always for integers).
    const std::uint64_t g1 = b.d_ == 1 ? 1 : gcd64(mag(a.n_), std::uint64_t(b.d_));
    const std::uint64_t g2 = a.d_ == 1 ? 1 : gcd64(mag(b.n_), std::uint64_t(a.d_));
    const std::int64_t an = g1 == 1 ? a.n_ : a.n_ / std::int64_t(g1);
    const std::int64_t bn = g2 == 1 ? b.n_ : b.n_ / std::int64_t(g2);
    const std::uint64_t ad = g2 == 1 ? std::uint64_t(a.d_) : std::uint64_t(a.d_) / g2;
    const std::uint64_t bd = g1 == 1 ? std::uint64_t(b.d_) : std::uint64_t(b.d_) / g1;
    return Rational::from_i128(i128(an) * i128(bn), u128(ad) * u128(bd));
}

Rational operator/(const Rational& a, const Rational& b) {
    if (b.sign() == 0) throw Panic(PanicKind::division_by_zero, "division by zero");
    if (a.is_big() || b.is_big()) return Rational::big_op(a, b, mpq_div);
    if (a.n_ == 0) return Rational();
    const std::uint64_t g1 = gcd64(mag(a.n_), mag(b.n_));
    const std::uint64_t g2 = (a.d_ == 1 || b.d_ == 1) ? 1 : gcd64(std::uint64_t(a.d_), std::uint64_t(b.d_));
    const std::int64_t an = g1 == 1 ? a.n_ : a.n_ / std::int64_t(g1);
    const std::int64_t bd = g2 == 1 ? b.d_ : b.d_ / std::int64_t(g2);
    const std::uint64_t ad = g2 == 1 ? std::uint64_t(a.d_) : std::uint64_t(a.d_) / g2;
    const std::uint64_t bn = g1 == 1 ? mag(b.n_) : mag(b.n_) / g1;
    i128 num = i128(an) * i128(bd);
    u128 den = u128(ad) * u128(bn);
    if (b.n_ < 0) num = -num;
    return Rational::from_i128(num, den);
}

bool Rational::big_equal(const Rational& a, const Rational& b) {
    if (a.is_big() != b.is_big()) return false;  // the representation is canonical
    return mpq_equal(a.q_, b.q_) != 0;
}

std::strong_ordering Rational::big_compare(const Rational& a, const Rational& b) {
    int c;
    if (a.is_big() && b.is_big()) {
        c = mpq_cmp(a.q_, b.q_);
    } else if (a.is_big()) {
        c = mpq_cmp_si(a.q_, b.n_, static_cast<unsigned long>(b.d_));
    } else {
        c = -mpq_cmp_si(b.q_, a.n_, static_cast<unsigned long>(a.d_));
    }
    return c < 0 ? std::strong_ordering::less : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

Rational abs(const Rational& a) { return a.sign() < 0 ? -a : a; }

Integer common_denominator(std::span<const Rational* const> values) {
    Integer out(1);
    for (const Rational* r : values) {
        if (r->is_integer()) continue;
        const Integer d = r->denominator();
        if (gcd(out, d) != d) out = lcm(out, d);  // d does not divide it yet
    }
    return out;
}

}  // namespace corv
