// Which exact Boolean engine runs a union, cut or intersection. This is the
// one place that knows the engines: the default, the names callers write,
// and how each one is run.
#pragma once

#include "binder/parameters.h"
#include "bsp/boolean.h"
#include "core/solid.h"

namespace corv::lib {

enum class Engine { bsp, local };

// What engine=None means (exported as corvanthium.DEFAULT_ENGINE).
inline constexpr Engine default_engine = Engine::bsp;

// "bsp" or "local".
const char* engine_name(Engine engine);

// None (or omitted) -> default_engine, "bsp" or "local" -> that engine;
// anything else is a ValueError naming the choices.
extern const binder::Converter engine_param;

// a op b on the engine; an engine this build lacks throws EngineUnavailable.
Solid run_boolean(Engine engine, BooleanOp op, const Solid& a, const Solid& b);

}  // namespace corv::lib
