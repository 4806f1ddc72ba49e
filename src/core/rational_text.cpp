// The text form n/d of a Rational (texts are results here; reading them is
// the job of src/parse).
#include <charconv>

#include "core/rational.h"

namespace corv {

std::string Rational::text() const {
    std::string out;
    append_text(out);
    return out;
}

std::string Rational::plain_text() const {
    std::string out = text();
    if (out.ends_with("/1")) out.resize(out.size() - 2);
    return out;
}

char* Rational::put_small_text(char* at) const {
    if (is_big()) return nullptr;
    at = std::to_chars(at, at + 20, n_).ptr;  // a 64-bit integer has at most 20 characters
    *at++ = '/';
    return std::to_chars(at, at + 20, d_).ptr;
}

void Rational::append_text(std::string& out) const {
    char buf[kSmallTextMax];
    if (char* end = put_small_text(buf)) {
        out.append(buf, end);
        return;
    }
    out += Integer::copy_of(mpq_numref(q_)).text();
    out += '/';
    out += Integer::copy_of(mpq_denref(q_)).text();
}

}  // namespace corv
