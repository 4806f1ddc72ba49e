// The one failure type of the kernel. Anything that stops a call (malformed
// number text, division by zero, an index past the end of a list, ...) throws
// a Panic carrying the kind of failure and a text; a front end turns it into
// its own exception at the call boundary (the text is what the caller reads,
// the kind is what tests and front ends branch on).
#pragma once

#include <stdexcept>
#include <string>

namespace corv {

enum class PanicKind {
    parse,             // malformed number text
    zero_denominator,  // a rational built or read with denominator 0
    division_by_zero,  // a division (or a normalisation) by an exact zero
    index,             // an index past the end of a list, or a span that does not fit
    unknown_op,        // an operation name that is not one of the known ones
    empty_solid,       // a measure that needs at least one polygon
    too_few_vertices,  // a polygon with fewer than three vertices
    bad_shape,         // lists whose lengths do not fit together (points, rows, boxes)
    invalid_argument,  // a value outside the domain of the operation
    not_manifold,      // a surface that bounds no solid: an open edge, faces that overlap or cross,
                       // sheets turned against each other
    corrupt_data,      // serialised bytes that are truncated, altered or not a solid's encoding
};

// The kind's name as written in the enum, e.g. "zero_denominator".
const char* kind_name(PanicKind kind);

struct Panic : std::runtime_error {
    Panic(PanicKind k, const std::string& what) : std::runtime_error(what), kind(k) {}
    PanicKind kind;
};

// Checked element access for places where an index may run past the end.
template <class Seq>
auto& at_or_panic(Seq& seq, std::size_t i, const char* what) {
    if (i >= seq.size()) {
        throw Panic(PanicKind::index, std::string("index out of range: ") + what + " has " +
                                          std::to_string(seq.size()) + " entries, index " + std::to_string(i));
    }
    return seq[i];
}

// A rejected input that the caller should see as a plain value error (the
// chamfer's "non-rational face normal"), not as an internal failure.
struct ValueFailure : std::runtime_error {
    explicit ValueFailure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace corv
