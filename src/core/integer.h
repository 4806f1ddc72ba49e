// Integer: an arbitrary-precision signed integer over GMP's mpz_t, as a value.
#pragma once

#include <gmp.h>

#include <compare>
#include <cstdint>
#include <string>

namespace corv {

class Integer {
public:
    Integer() noexcept { mpz_init(z_); }
    Integer(std::int64_t v) { mpz_init_set_si(z_, v); }  // NOLINT: implicit on purpose
    static Integer copy_of(mpz_srcptr v) {
        Integer r;
        mpz_set(r.z_, v);
        return r;
    }
    Integer(const Integer& o) { mpz_init_set(z_, o.z_); }
    Integer(Integer&& o) noexcept {
        mpz_init(z_);
        mpz_swap(z_, o.z_);
    }
    Integer& operator=(const Integer& o) {
        if (this != &o) mpz_set(z_, o.z_);
        return *this;
    }
    Integer& operator=(Integer&& o) noexcept {
        mpz_swap(z_, o.z_);
        return *this;
    }
    ~Integer() { mpz_clear(z_); }

    int sign() const { return mpz_sgn(z_); }
    bool is_zero() const { return mpz_sgn(z_) == 0; }
    std::string text() const;

    mpz_srcptr get() const { return z_; }
    mpz_ptr get_mut() { return z_; }

    friend Integer operator+(const Integer& a, const Integer& b);
    friend Integer operator-(const Integer& a, const Integer& b);
    friend Integer operator*(const Integer& a, const Integer& b);
    friend Integer operator-(const Integer& a);
    friend bool operator==(const Integer& a, const Integer& b) { return mpz_cmp(a.z_, b.z_) == 0; }
    friend std::strong_ordering operator<=>(const Integer& a, const Integer& b) {
        int c = mpz_cmp(a.z_, b.z_);
        return c < 0 ? std::strong_ordering::less
                     : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
    }

private:
    mpz_t z_;
};

Integer abs(const Integer& a);
Integer gcd(const Integer& a, const Integer& b);
Integer lcm(const Integer& a, const Integer& b);
// a / b where b divides a exactly; b must not be zero.
Integer divexact(const Integer& a, const Integer& b);
// Largest r >= 0 with r*r <= a; a must not be negative.
Integer isqrt(const Integer& a);

}  // namespace corv
