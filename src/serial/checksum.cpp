#include <cstddef>
#include <cstdint>
#include <span>

#include "serial/serial.h"

namespace corv {
namespace {

constexpr std::uint64_t kMul = 0xff51afd7ed558ccdULL;

// Each of these is one-to-one on 64-bit words: xor with a value, a product
// with an odd constant (invertible modulo 2^64), and a xor with a right
// shift of at least half the width.
std::uint64_t step(std::uint64_t h, std::uint64_t w) {
    h ^= w;
    h *= kMul;
    h ^= h >> 32;
    return h;
}

}  // namespace

std::uint64_t checksum64(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 0x9e3779b97f4a7c15ULL ^ static_cast<std::uint64_t>(bytes.size());
    const std::size_t words = bytes.size() / 8;
    for (std::size_t i = 0; i < words; ++i) {
        std::uint64_t w = 0;
        for (std::size_t b = 0; b < 8; ++b) w |= static_cast<std::uint64_t>(bytes[8 * i + b]) << (8 * b);
        h = step(h, w);
    }
    std::uint64_t tail = 0;
    for (std::size_t b = 8 * words; b < bytes.size(); ++b) {
        tail |= static_cast<std::uint64_t>(bytes[b]) << (8 * (b - 8 * words));
    }
    h = step(h, tail);
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

}  // namespace corv
