#include "canonical/logical_faces.h"

#include <unordered_set>

#include "canonical/canonical.h"

namespace corv {

// Polygons are grouped by the canonical form of their stored plane, so the
// count ignores how a face is cut into pieces, its orientation and its scale.
std::size_t logical_faces(const Solid& solid) {
    std::unordered_set<std::string> keys;
    for (const Polygon& polygon : solid.polygons) {
        keys.insert(plane_key_text(canonical_plane(polygon.plane)));
    }
    return keys.size();
}

}  // namespace corv
