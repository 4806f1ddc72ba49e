// NURBS evaluation from number texts: the numbers are read in the order the
// calls have always read them, interleaved with the checks that the kernel
// makes on the values read so far, so the first failure is the same one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rs_entry/texts.h"

namespace corv::rs_entry {

// Reads knots, then the weights, then the control points (each one's length
// checked before its coordinates are read; only the first min(|cps|,
// |weights|) are read), then t. The point as three texts n/d.
Texts nurbs_curve_eval(std::uint64_t degree, const TextRows& cps, const Texts& knots, const std::string& t,
                       const std::optional<Texts>& weights);

// Reads ku, kv and v, then row by row each point's weight and coordinates,
// each row checked against kv and v before the next is read, then u.
Texts nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const TextNet& net, const Texts& ku, const Texts& kv,
                         const std::string& u, const std::string& v, const std::optional<TextRows>& weights);

}  // namespace corv::rs_entry
