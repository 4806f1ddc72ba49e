// One point of a NURBS curve or tensor-product surface, exactly, as three texts.
#pragma once

#include <cstdint>
#include <optional>

#include "core/texts.h"

namespace corv {

Texts nurbs_curve_eval(std::uint64_t degree, const TextRows& cps, const Texts& knots, const std::string& t,
                       const std::optional<Texts>& weights);
Texts nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const TextNet& net, const Texts& ku, const Texts& kv,
                         const std::string& u, const std::string& v, const std::optional<TextRows>& weights);

}  // namespace corv
