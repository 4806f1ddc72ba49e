// The text form n/d of a Rational (texts are results here; reading them is
// the entry layer's job).
#include <charconv>

#include "core/rational.h"

namespace corv {

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
