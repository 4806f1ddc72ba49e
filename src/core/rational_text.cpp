// The number text grammar (parse_r) and the text form n/d.
#include <charconv>
#include <vector>

#include "core/panic.h"
#include "core/rational.h"

namespace corv {
namespace {

[[noreturn]] void malformed(std::string_view text) {
    std::string shown(text.substr(0, 200));
    if (text.size() > 200) shown += "...";
    throw Panic("malformed number text: \"" + shown + "\"");
}

// One piece of the grammar: optional sign, then digits and '_' (not leading).
Integer read_integer(std::string_view piece, std::string_view whole) {
    bool negative = false;
    if (!piece.empty() && piece[0] == '-') {
        if (piece.size() > 1 && piece[1] == '+') malformed(whole);
        negative = true;
        piece.remove_prefix(1);
    } else if (!piece.empty() && piece[0] == '+' && !(piece.size() > 1 && piece[1] == '+')) {
        piece.remove_prefix(1);
    }
    if (piece.empty() || piece[0] == '_') malformed(whole);
    std::string digits;
    digits.reserve(piece.size());
    for (char ch : piece) {
        if (ch == '_') continue;
        if (ch < '0' || ch > '9') malformed(whole);
        digits.push_back(ch);
    }
    if (digits.size() <= 18) {
        std::int64_t v = 0;
        for (char ch : digits) v = v * 10 + (ch - '0');
        return Integer(negative ? -v : v);
    }
    Integer v;
    mpz_set_str(v.get_mut(), digits.c_str(), 10);
    if (negative) mpz_neg(v.get_mut(), v.get());
    return v;
}

}  // namespace

Rational parse_r(std::string_view text) {
    std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return Rational::from_integer(read_integer(text, text));
    std::string_view first = text.substr(0, slash);
    std::string_view rest = text.substr(slash + 1);
    if (rest.find('/') != std::string_view::npos) {
        // Three or more pieces: only the first is read.
        return Rational::from_integer(read_integer(first, text));
    }
    Integer num = read_integer(first, text);
    Integer den = read_integer(rest, text);
    if (den.is_zero()) throw Panic("zero denominator in number text: \"" + std::string(text.substr(0, 200)) + "\"");
    return Rational(num, den);
}

std::string Rational::text() const {
    std::string out;
    append_text(out);
    return out;
}

void Rational::append_text(std::string& out) const {
    if (!is_big()) {
        char num[24], den[24];
        char* num_end = std::to_chars(num, num + sizeof num, n_).ptr;
        char* den_end = std::to_chars(den, den + sizeof den, d_).ptr;
        out.append(num, num_end);
        out += '/';
        out.append(den, den_end);
        return;
    }
    out += Integer::copy_of(mpq_numref(q_)).text();
    out += '/';
    out += Integer::copy_of(mpq_denref(q_)).text();
}

}  // namespace corv
