#include "core/integer.h"

#include "core/memory_budget.h"
#include "core/panic.h"

namespace corv {

std::string Integer::text() const {
    const std::size_t digits = mpz_sizeinbase(z_, 10);
    memory::require(static_cast<std::int64_t>(digits) * 2);
    std::string s(digits + 2, '\0');
    mpz_get_str(s.data(), 10, z_);
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

Integer operator+(const Integer& a, const Integer& b) {
    Integer r;
    mpz_add(r.z_, a.z_, b.z_);
    return r;
}
Integer operator-(const Integer& a, const Integer& b) {
    Integer r;
    mpz_sub(r.z_, a.z_, b.z_);
    return r;
}
Integer operator*(const Integer& a, const Integer& b) {
    memory::require(static_cast<std::int64_t>((mpz_size(a.z_) + mpz_size(b.z_)) * sizeof(mp_limb_t) * 3));
    Integer r;
    mpz_mul(r.z_, a.z_, b.z_);
    return r;
}
Integer operator-(const Integer& a) {
    Integer r;
    mpz_neg(r.z_, a.z_);
    return r;
}

Integer abs(const Integer& a) {
    Integer r;
    mpz_abs(r.get_mut(), a.get());
    return r;
}
Integer gcd(const Integer& a, const Integer& b) {
    Integer r;
    mpz_gcd(r.get_mut(), a.get(), b.get());
    return r;
}
Integer lcm(const Integer& a, const Integer& b) {
    Integer r;
    mpz_lcm(r.get_mut(), a.get(), b.get());
    return r;
}

Integer divexact(const Integer& a, const Integer& b) {
    if (b.is_zero()) throw Panic(PanicKind::division_by_zero, "division by zero");
    Integer r;
    mpz_divexact(r.get_mut(), a.get(), b.get());
    return r;
}

Integer isqrt(const Integer& a) {
    if (a.sign() < 0) throw Panic(PanicKind::invalid_argument, "square root of a negative integer");
    Integer r;
    mpz_sqrt(r.get_mut(), a.get());
    return r;
}

}  // namespace corv
