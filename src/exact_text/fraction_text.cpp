#include "exact_text/fraction_text.h"

#include <string>

#include "core/memory_budget.h"
#include "core/panic.h"

namespace corv::exact_text {
namespace {

std::string shown(std::string_view text) {
    std::string out(text.substr(0, 80));
    if (text.size() > 80) out += "...";
    return out;
}

[[noreturn]] void refuse(std::string_view text) {
    throw Panic(PanicKind::parse, "not an exact number: \"" + shown(text) +
                                      "\" (write e.g. \"3\", \"-1/3\", \"0.25\" "
                                      "or \"1e3\")");
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits with single '_' between digits from the front of
// rest into digits (underscores dropped); false when the run is malformed
// (a '_' not between two digits). An empty run is allowed here.
bool read_digits(std::string_view& rest, std::string& digits) {
    std::size_t i = 0;
    while (i < rest.size()) {
        char c = rest[i];
        if (is_digit(c)) {
            digits.push_back(c);
            ++i;
        } else if (c == '_') {
            if (i == 0 || !is_digit(rest[i - 1]) || i + 1 >= rest.size() || !is_digit(rest[i + 1])) return false;
            ++i;
        } else {
            break;
        }
    }
    rest.remove_prefix(i);
    return true;
}

Integer integer_of(const std::string& digits) {
    Integer out;
    memory::require(static_cast<std::int64_t>(digits.size()));
    if (!digits.empty()) mpz_set_str(out.get_mut(), digits.c_str(), 10);
    return out;
}

Integer power_of_ten(unsigned long k) {
    // 10^k has k * log2(10) / 8 < k / 2 bytes, twice that with scratch.
    memory::require(static_cast<std::int64_t>(k > (1ul << 60) ? (1ul << 60) : k));
    Integer out;
    mpz_ui_pow_ui(out.get_mut(), 10, k);
    return out;
}

// The exponent after 'e' or 'E': sign and digits, nothing after them.
long read_exponent(std::string_view rest, std::string_view text) {
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    std::string digits;
    if (rest.empty() || !is_digit(rest[0]) || !read_digits(rest, digits) || !rest.empty()) refuse(text);
    std::size_t first = digits.find_first_not_of('0');
    std::string significant = first == std::string::npos ? "0" : digits.substr(first);
    if (significant.size() > 7 || std::stol(significant) > max_decimal_exponent) {
        throw Panic(PanicKind::invalid_argument,
                    "exponent of \"" + shown(text) + "\" is beyond +-" + std::to_string(max_decimal_exponent));
    }
    long e = std::stol(significant);
    return negative ? -e : e;
}

}  // namespace

Rational parse_fraction_text(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && is_space(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && is_space(rest.back())) rest.remove_suffix(1);
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    // A digit, or a point and a digit, must come first.
    if (rest.empty() || !(is_digit(rest[0]) || (rest[0] == '.' && rest.size() > 1 && is_digit(rest[1])))) {
        refuse(text);
    }
    std::string digits;
    if (!read_digits(rest, digits)) refuse(text);
    Integer num;
    Integer den(1);
    if (!rest.empty() && rest[0] == '/') {
        rest.remove_prefix(1);
        std::string den_digits;
        if (digits.empty() || rest.empty() || !is_digit(rest[0]) || !read_digits(rest, den_digits) || !rest.empty()) {
            refuse(text);
        }
        num = integer_of(digits);
        den = integer_of(den_digits);
        if (den.is_zero()) {
            throw Panic(PanicKind::zero_denominator, "zero denominator in \"" + shown(text) + "\"");
        }
    } else {
        std::size_t fraction_digits = 0;
        if (!rest.empty() && rest[0] == '.') {
            rest.remove_prefix(1);
            std::size_t before = digits.size();
            if (!read_digits(rest, digits)) refuse(text);
            fraction_digits = digits.size() - before;
        }
        long exponent = 0;
        if (!rest.empty() && (rest[0] == 'e' || rest[0] == 'E')) {
            exponent = read_exponent(rest.substr(1), text);
            rest = {};
        }
        if (!rest.empty()) refuse(text);
        num = integer_of(digits);
        long shift = exponent - static_cast<long>(fraction_digits);
        if (shift >= 0) {
            num = num * power_of_ten(static_cast<unsigned long>(shift));
        } else {
            den = power_of_ten(static_cast<unsigned long>(-shift));
        }
    }
    if (negative) num = -num;
    return Rational(num, den);
}

}  // namespace corv::exact_text
