// A body of the stored layout written by hand, wrapped in a valid header
// and checksum, for tests that say what decode must refuse.
#pragma once

#include <gmp.h>

#include <cstdint>
#include <vector>

#include "serial/serial.h"

namespace corv::test {

using Bytes = std::vector<std::uint8_t>;

// The bytes of a body in the stored layout, wrapped in a valid header and
// checksum: lets a test say anything the checks must refuse.
struct Body {
    Bytes out;
    Body& varint(std::uint64_t v) {
        while (v >= 0x80) {
            out.push_back(static_cast<std::uint8_t>(v | 0x80));
            v >>= 7;
        }
        out.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Body& byte(std::uint8_t b) {
        out.push_back(b);
        return *this;
    }
    // A small value n/d (tag 0).
    Body& small(std::int64_t n, std::uint64_t d) {
        std::uint64_t u = static_cast<std::uint64_t>(n);
        return byte(0).varint(n < 0 ? ~(u << 1) : u << 1).varint(d);
    }
    // A positive integer in the long form (tag 1).
    Body& big(const Integer& n) {
        byte(1);
        const std::size_t count = (mpz_sizeinbase(n.get(), 2) + 7) / 8;
        varint(count);
        const std::size_t at = out.size();
        out.resize(at + count);
        std::size_t written = 0;
        mpz_export(out.data() + at, &written, -1, 1, -1, 0, n.get());
        out.resize(at + written);
        return varint(1).byte(1);
    }
    Bytes sealed(std::uint16_t version = serial_version) const {
        Bytes b{
            'C', 'O', 'R', 'V', 'S', 'D', static_cast<std::uint8_t>(version), static_cast<std::uint8_t>(version >> 8)};
        for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(out.size() >> (8 * i)));
        b.insert(b.end(), out.begin(), out.end());
        std::uint64_t h = checksum64(b);
        for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(h >> (8 * i)));
        return b;
    }
};

}  // namespace corv::test
