// Which exact Boolean engine runs a union, cut or intersection. This is the
// one place that knows the engines: the default, the names callers write,
// and how each one is run.
#pragma once

#include <span>

#include "binder/parameters.h"
#include "bsp/boolean.h"
#include "core/solid.h"

namespace corv::python_lib {

enum class Engine { bsp, local };

// What engine=None and the operators mean (exported as
// corvanthium.DEFAULT_ENGINE): the localized engine, whose results agree
// with the BSP engine's as point sets (the same volume and shape, checked on
// random programs and the plate and box workloads) and come fast on many
// operands. "bsp" gives the polygons corvanthium_rs gives, face for face,
// except where an operand is empty: there both engines give the empty set's
// answer (corvanthium_rs reads an empty operand as all of space).
inline constexpr Engine default_engine = Engine::local;

// "bsp" or "local".
const char* engine_name(Engine engine);

// None (or omitted) -> default_engine, "bsp" or "local" -> that engine;
// anything else is a ValueError naming the choices.
extern const binder::Converter engine_param;

// a op b on the engine: "bsp" splits both operands by each other's BSP
// tree; "local" cuts only the facets that others come near. Both are exact;
// their results are the same point sets, not always the same polygons.
Solid run_boolean(Engine engine, BooleanOp op, const Solid& a, const Solid& b);

// The union of all the solids (empty for none), and a minus every tool: one
// pass on "local"; on "bsp" a fold of pairwise Booleans in order.
Solid run_union_all(Engine engine, std::span<const Solid> solids);
Solid run_cut_all(Engine engine, const Solid& a, std::span<const Solid> tools);

}  // namespace corv::python_lib
