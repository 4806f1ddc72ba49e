// Rational: an exact rational number, always reduced with a positive
// denominator. Values whose numerator and denominator fit in 63 bits are kept
// inline and computed with 128-bit machine arithmetic; anything larger lives
// in a GMP mpq_t on the heap. The representation is canonical (a value that
// fits inline is always inline), so equality never needs GMP for small values.
#pragma once

#include <gmp.h>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/integer.h"

namespace corv {

class Rational {
public:
    Rational() noexcept : n_(0), d_(1) {}
    Rational(std::int64_t v);  // NOLINT: implicit, so 0 and 1 read naturally
    // num/den reduced; den == 0 throws Panic.
    Rational(const Integer& num, const Integer& den);
    static Rational from_integer(const Integer& v);
    // num / den reduced (den == 0 throws Panic, and so does a part of -2^127);
    // for exact small paths that keep an unreduced fraction in 128 bits.
    static Rational from_ratio_i128(__int128 num, __int128 den);

    // Copies and comparisons of inline values are inline; heap values go out
    // of line.
    Rational(const Rational& o) : n_(o.n_), d_(o.d_) {
        if (o.is_big()) copy_big(o);
    }
    Rational(Rational&& o) noexcept : n_(o.n_), d_(o.d_) {
        o.d_ = 1;
        o.n_ = 0;
    }
    Rational& operator=(const Rational& o) {
        if (is_big() || o.is_big()) return assign_big(o);
        n_ = o.n_;
        d_ = o.d_;
        return *this;
    }
    Rational& operator=(Rational&& o) noexcept;
    ~Rational() {
        if (d_ == 0) release();
    }

    int sign() const {
        if (is_big()) return big_sign();
        return (n_ > 0) - (n_ < 0);
    }
    bool is_zero() const { return d_ == 1 && n_ == 0; }
    bool is_integer() const;
    Integer numerator() const;
    Integer denominator() const;
    // (numerator, denominator) when both fit in 63 bits, without GMP.
    std::optional<std::pair<std::int64_t, std::int64_t>> small_parts() const {
        if (is_big()) return std::nullopt;
        return std::make_pair(n_, d_);
    }

    // The double nearest to the value (ties to even); +-inf beyond the range.
    double to_double() const {
        // Numerator and denominator exact in doubles: one correctly
        // rounded division.
        constexpr std::int64_t kExact = std::int64_t(1) << 53;
        if (!is_big() && n_ >= -kExact && n_ <= kExact && d_ <= kExact) {
            return static_cast<double>(n_) / static_cast<double>(d_);
        }
        return to_double_slow();
    }
    // Text form: numerator "/" denominator, e.g. 6/1, -1/2, 0/1.
    std::string text() const;
    // As people write it, for messages: 6, -1/2, 0.
    std::string plain_text() const;
    void append_text(std::string& out) const;
    // The text of an inline value written at `at`, which has room for
    // kSmallTextMax characters; returns the end, or null for a heap value
    // (nothing written).
    static constexpr std::size_t kSmallTextMax = 41;  // two 20-character parts and '/'
    char* put_small_text(char* at) const;

    friend Rational operator+(const Rational& a, const Rational& b);
    friend Rational operator-(const Rational& a, const Rational& b);
    friend Rational operator*(const Rational& a, const Rational& b);
    // Division by zero throws Panic.
    friend Rational operator/(const Rational& a, const Rational& b);
    friend Rational operator-(const Rational& a);
    // The value divided by two (exact, cheaper than a division).
    Rational halved() const;
    Rational& operator+=(const Rational& b) {
        *this = *this + b;
        return *this;
    }
    Rational& operator-=(const Rational& b) {
        *this = *this - b;
        return *this;
    }
    Rational& operator*=(const Rational& b) {
        *this = *this * b;
        return *this;
    }

    friend bool operator==(const Rational& a, const Rational& b) {
        if (a.is_big() || b.is_big()) return big_equal(a, b);
        return a.n_ == b.n_ && a.d_ == b.d_;
    }
    friend std::strong_ordering operator<=>(const Rational& a, const Rational& b) {
        if (a.is_big() || b.is_big()) return big_compare(a, b);
        if (a.d_ == b.d_) return a.n_ <=> b.n_;
        // Both products are below 2^126 in magnitude.
        return static_cast<__int128>(a.n_) * b.d_ <=> static_cast<__int128>(b.n_) * a.d_;
    }

private:
    struct BigTag {};
    Rational(BigTag, mpq_ptr q) noexcept : q_(q), d_(0) {}
    bool is_big() const { return d_ == 0; }
    void release() noexcept;
    double to_double_slow() const;
    // The out-of-line halves of the inline members above: at least one value
    // lives on the heap.
    void copy_big(const Rational& o);
    Rational& assign_big(const Rational& o);
    int big_sign() const;
    static bool big_equal(const Rational& a, const Rational& b);
    static std::strong_ordering big_compare(const Rational& a, const Rational& b);
    // Fills an initialised mpq with this value.
    void to_mpq(mpq_ptr out) const;
    // Takes a canonical mpq (its contents are swapped out) and returns the
    // canonical Rational for it.
    static Rational from_mpq(mpq_ptr q);
    // num / den, already reduced (den > 0). Inline values are built in
    // place; the rest go to GMP out of line.
    static Rational from_i128(__int128 num, unsigned __int128 den) {
        constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
        if (num >= -__int128(kMax) && num <= __int128(kMax) && den <= static_cast<unsigned __int128>(kMax)) {
            Rational r;
            r.n_ = static_cast<std::int64_t>(num);
            r.d_ = static_cast<std::int64_t>(den);
            return r;
        }
        return from_i128_big(num, den);
    }
    static Rational from_i128_big(__int128 num, unsigned __int128 den);
    // an/ad + bn/bd of inline parts.
    static Rational add_small(std::int64_t an, std::int64_t ad, std::int64_t bn, std::int64_t bd);
    template <class Op>
    static Rational big_op(const Rational& a, const Rational& b, Op op);

    union {
        std::int64_t n_;  // inline numerator, |n_| < 2^63
        mpq_ptr q_;       // heap value when d_ == 0
    };
    std::int64_t d_;  // inline denominator > 0, or 0 for a heap value
};

Rational abs(const Rational& a);

// The least common multiple of the values' denominators (1 for none): the
// factor that makes every value an integer.
Integer common_denominator(std::span<const Rational* const> values);

}  // namespace corv
