// Conversion of bound Python arguments: the converters every front end
// shares, and the naming of a parameter in a conversion's TypeError.
#pragma once

#include <Python.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "binder/parameters.h"

namespace corv::binder {

// The common converters and the C++ type each stores.
extern const Converter text;                // str -> std::string
extern const Converter text_list;           // sequence of str -> TextList
extern const Converter text_rows;           // sequence of sequences of str -> TextRows
extern const Converter text_net;            // three levels deep -> TextNet
extern const Converter optional_text;       // None (or omitted) or str -> std::optional<std::string>
extern const Converter optional_text_list;  // None (or omitted) or a sequence -> std::optional<TextList>
extern const Converter optional_text_rows;  // likewise -> std::optional<TextRows>
extern const Converter unsigned_integer;    // int or __index__ -> std::uint64_t
extern const Converter signed_integer;      // int or __index__ -> std::int64_t

// A check of the memory that converting one call's arguments has taken, in
// bytes (the sequences' items; texts by their length): false means no room,
// and the conversion stops with MemoryError. Set once by a front end at
// module initialisation; without one, only the system's memory limits
// apply. Long conversions also look for pending signals (Ctrl-C) as they go.
using ConversionRoom = bool (*)(std::size_t bytes);
void set_conversion_room(ConversionRoom room) noexcept;
// Starts counting a new call's conversion (the binder calls it per call).
void begin_conversion() noexcept;
// Items read between two looks at the signals and the memory in use.
inline constexpr Py_ssize_t items_per_look = 4096;
// The bytes of one sequence's items not yet added to the call's total; every
// sequence reader, the binder's and a front end's own, keeps one per
// sequence, counts each item with count_converted_item and ends with
// end_converted_items.
struct ItemTally {
    std::size_t bytes = 0;
    Py_ssize_t until_look = items_per_look;
};
// Adds the tally to the call's total, then looks at the signals and the room
// left. False (with the Python error set) stops the conversion.
bool look_at_conversion(ItemTally& tally);
// Records that an item holding `bytes` was read; every items_per_look items
// looks (above). Cheap between looks.
inline bool count_converted_item(ItemTally& tally, std::size_t bytes) {
    tally.bytes += bytes;
    return --tally.until_look != 0 || look_at_conversion(tally);
}
// The end of a sequence: what its items hold joins the call's total.
void end_converted_items(ItemTally& tally) noexcept;

// Sets TypeError "'TYPE' object cannot be converted to 'target'" and
// returns false (also false, with that error, if the type name fails).
bool refuse_type(PyObject* obj, const char* target);

// Sets the current Python error again as the same class with prefix in front
// of its message, keeping its cause; an error that cannot be made again from
// one message (or a MemoryError) is left as it was.
void prefix_current_error(const std::string& prefix);

// Converts the object bound to param (null for an omitted optional
// parameter) into out. On failure returns false with a Python error set: a
// TypeError is re-raised as "argument 'NAME': " + its message, keeping its
// cause; other errors (OverflowError, UnicodeEncodeError, ...) pass unchanged
// unless the converter names_any_error, when they are prefixed the same way
// and keep their class.
bool convert_argument(const Param& param, PyObject* obj, Value& out);

}  // namespace corv::binder
