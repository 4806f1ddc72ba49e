// The methods, properties, operators and repr of corvanthium.Solid.
#pragma once

#include "lib/solid_object.h"

namespace corv::lib {

// The class's tables (static storage).
SolidTables solid_tables();

}  // namespace corv::lib
