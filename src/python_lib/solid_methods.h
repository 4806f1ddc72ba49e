// The methods, properties and repr of the native solid class (NativeSolid).
#pragma once

#include "python_lib/solid_object.h"

namespace corv::python_lib {

// The class's tables (static storage).
SolidTables solid_tables();

}  // namespace corv::python_lib
