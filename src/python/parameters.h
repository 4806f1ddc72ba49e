// Declared parameters of the Python-facing functions and methods, and the
// converted argument values an implementation receives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/solid.h"
#include "entry/texts.h"

namespace corv::py {

using entry::Texts;
using entry::TextRows;
using entry::TextNet;

// How a Python argument is converted.
enum class Kind {
    Text,              // str (number texts and plain texts alike)
    TextList,          // sequence of str
    TextRows,          // sequence of sequences of str
    TextNet,           // sequence of sequences of sequences of str
    OptionalTextList,  // None or a TextList; defaults to None
    OptionalTextRows,  // None or a TextRows; defaults to None
    Unsigned,          // int (or __index__) as an unsigned 64-bit value
    Signed,            // int (or __index__) as a signed 64-bit value
    Solid,             // a PySolid instance
};

struct Param {
    const char* name;
    Kind kind;
};

// Whether the parameter may be omitted (it then defaults to None).
constexpr bool is_optional(Kind kind) {
    return kind == Kind::OptionalTextList || kind == Kind::OptionalTextRows;
}

// One converted argument; the alternative follows the parameter's Kind.
using Value = std::variant<std::string, Texts, TextRows, TextNet, std::optional<Texts>, std::optional<TextRows>,
                           std::uint64_t, std::int64_t, const Solid*>;

// The converted arguments of one call, in declaration order. Asking for the
// wrong alternative throws (std::bad_variant_access), which the call boundary
// reports as an internal failure.
struct Arguments {
    std::vector<Value> values;

    const std::string& text(std::size_t i) const { return std::get<std::string>(values.at(i)); }
    const Texts& texts(std::size_t i) const { return std::get<Texts>(values.at(i)); }
    const TextRows& rows(std::size_t i) const { return std::get<TextRows>(values.at(i)); }
    const TextNet& net(std::size_t i) const { return std::get<TextNet>(values.at(i)); }
    const std::optional<Texts>& optional_texts(std::size_t i) const {
        return std::get<std::optional<Texts>>(values.at(i));
    }
    const std::optional<TextRows>& optional_rows(std::size_t i) const {
        return std::get<std::optional<TextRows>>(values.at(i));
    }
    std::uint64_t unsigned_int(std::size_t i) const { return std::get<std::uint64_t>(values.at(i)); }
    std::int64_t signed_int(std::size_t i) const { return std::get<std::int64_t>(values.at(i)); }
    const corv::Solid& solid(std::size_t i) const { return *std::get<const corv::Solid*>(values.at(i)); }
};

}  // namespace corv::py
