// Declared parameters of Python-facing functions and methods, and the
// converted argument values an implementation receives. How an argument is
// converted is a Converter: the binder supplies the common ones (texts,
// lists of texts, integers; see conversion.h) and a front end declares its
// own (its object types, its number types) the same way.
#pragma once

#include <Python.h>

#include <any>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace corv::binder {

using TextList = std::vector<std::string>;
using TextRows = std::vector<TextList>;
using TextNet = std::vector<TextRows>;

// One converted argument: the types of the common converters are held in
// place (no allocation per argument); a front end's own types go in the
// std::any.
using Value = std::variant<std::monostate, std::string, TextList, TextRows, TextNet, std::optional<TextList>,
                           std::optional<TextRows>, std::uint64_t, std::int64_t, std::any>;

template <class T>
constexpr bool held_in_place = !std::is_same_v<T, std::any> && !std::is_same_v<T, std::monostate> &&
                               std::is_constructible_v<Value, std::in_place_type_t<T>, T>;

// Stores value in the way get<T> reads it back.
template <class T>
void store(Value& out, T&& value) {
    using Plain = std::remove_cvref_t<T>;
    if constexpr (held_in_place<Plain>) {
        out.emplace<Plain>(std::forward<T>(value));
    } else {
        out.emplace<std::any>(std::forward<T>(value));
    }
}

struct Converter {
    // Converts obj into out; false with a Python error set on failure. obj
    // is null only for an omitted optional parameter.
    bool (*read)(PyObject* obj, Value& out);
    // Whether the parameter may be omitted (it then defaults to None).
    bool optional;
    // Whether every failure of this converter (not only a TypeError) is
    // re-raised with the parameter's name in front of its message, keeping
    // its class. MemoryError always passes unchanged.
    bool names_any_error = false;
};

struct Param {
    const char* name;
    const Converter* kind;
    // Passed by keyword only; such parameters come after all the others.
    bool keyword_only = false;
    // For an optional parameter, the default its signature shows (a Python
    // literal such as "'box'" or "1": what leaving it out means); "None"
    // when null.
    const char* shown_default = nullptr;
};

// The converted arguments of one call, in declaration order. Asking for the
// wrong type throws (std::bad_variant_access or std::bad_any_cast), which the
// call boundary reports as an internal failure.
struct Arguments {
    std::vector<Value> values;

    template <class T>
    const T& get(std::size_t i) const {
        if constexpr (held_in_place<T>) {
            return std::get<T>(values.at(i));
        } else {
            return std::any_cast<const T&>(std::get<std::any>(values.at(i)));
        }
    }
};

}  // namespace corv::binder
