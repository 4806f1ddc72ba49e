// The methods, properties, operators and repr of corvanthium.Solid.
#pragma once

#include "python_lib/solid_object.h"

namespace corv::python_lib {

// The class's tables (static storage).
SolidTables solid_tables();

}  // namespace corv::python_lib
