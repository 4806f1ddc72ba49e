#include "topology/canonical.h"

#include "core/panic.h"

namespace corv {

PlaneKey canonical_plane(const Plane&) { throw Panic("canonical_plane: not built yet"); }
PlaneKey coplanar_key(const Plane&) { throw Panic("coplanar_key: not built yet"); }
std::string plane_key_text(const PlaneKey&) { throw Panic("plane_key_text: not built yet"); }
std::optional<Vec3> unit_normal(const Plane&) { throw Panic("unit_normal: not built yet"); }
std::optional<Vec3> canon_dir(const Vec3&) { throw Panic("canon_dir: not built yet"); }
std::optional<Vec3> unit_dir(const Vec3&) { throw Panic("unit_dir: not built yet"); }
std::optional<std::string> line_key(const Vec3&, const Vec3&) { throw Panic("line_key: not built yet"); }

}  // namespace corv
