#include "rs_entry/number_text.h"

#include <string>

#include "core/memory_budget.h"
#include "core/panic.h"

namespace corv::rs_entry {
namespace {

[[noreturn]] void malformed(std::string_view text) {
    std::string shown(text.substr(0, 200));
    if (text.size() > 200) shown += "...";
    throw Panic(PanicKind::parse, "malformed number text: \"" + shown + "\"");
}

// One piece of the grammar: optional sign, then digits and '_' (not leading).
// Pieces of up to 18 digits are read into `small`; longer ones into `big`.
struct IntegerText {
    bool is_small = true;
    std::int64_t small = 0;
    Integer big;

    Integer as_integer() const { return is_small ? Integer(small) : big; }
    bool is_zero() const { return is_small ? small == 0 : big.is_zero(); }
};

IntegerText read_integer(std::string_view piece, std::string_view whole) {
    bool negative = false;
    if (!piece.empty() && piece[0] == '-') {
        if (piece.size() > 1 && piece[1] == '+') malformed(whole);
        negative = true;
        piece.remove_prefix(1);
    } else if (!piece.empty() && piece[0] == '+' && !(piece.size() > 1 && piece[1] == '+')) {
        piece.remove_prefix(1);
    }
    if (piece.empty() || piece[0] == '_') malformed(whole);
    IntegerText out;
    std::size_t digits = 0;
    std::int64_t v = 0;
    for (char ch : piece) {
        if (ch == '_') continue;
        if (ch < '0' || ch > '9') malformed(whole);
        if (++digits <= 18) v = v * 10 + (ch - '0');
    }
    if (digits <= 18) {
        out.small = negative ? -v : v;
        return out;
    }
    std::string text;
    text.reserve(piece.size());
    for (char ch : piece) {
        if (ch != '_') text.push_back(ch);
    }
    out.is_small = false;
    // A decimal digit takes under half a byte; GMP's conversion needs scratch.
    memory::require(static_cast<std::int64_t>(text.size()));
    mpz_set_str(out.big.get_mut(), text.c_str(), 10);
    if (negative) mpz_neg(out.big.get_mut(), out.big.get());
    return out;
}

}  // namespace

Rational parse_r(std::string_view text) {
    std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        IntegerText v = read_integer(text, text);
        return v.is_small ? Rational(v.small) : Rational::from_integer(v.big);
    }
    std::string_view first = text.substr(0, slash);
    std::string_view rest = text.substr(slash + 1);
    if (rest.find('/') != std::string_view::npos) {
        // Three or more pieces: only the first is read.
        IntegerText v = read_integer(first, text);
        return v.is_small ? Rational(v.small) : Rational::from_integer(v.big);
    }
    IntegerText num = read_integer(first, text);
    IntegerText den = read_integer(rest, text);
    if (den.is_zero())
        throw Panic(PanicKind::zero_denominator,
                    "zero denominator in number text: \"" + std::string(text.substr(0, 200)) + "\"");
    if (num.is_small && den.is_small) return Rational(num.small) / Rational(den.small);
    return Rational(num.as_integer(), den.as_integer());
}

std::vector<Rational> parse_all(const Texts& texts) {
    std::vector<Rational> out;
    out.reserve(texts.size());
    for (const std::string& s : texts) out.push_back(parse_r(s));
    return out;
}

Vec3 parse_point(const std::string& x, const std::string& y, const std::string& z) {
    return Vec3{parse_r(x), parse_r(y), parse_r(z)};  // braced: read in this order
}

}  // namespace corv::rs_entry
