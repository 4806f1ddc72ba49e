#include "serial/refusal.h"

#include "core/panic.h"

namespace corv {

void corrupt(const std::string& what) {
    throw Panic(PanicKind::corrupt_data, "corrupt solid data: " + what +
                                             " (the bytes were damaged or edited after Solid.save or to_bytes wrote "
                                             "them; load an intact copy)");
}

std::string point_words(std::size_t index, const Vec3& p) {
    std::string out = "point " + std::to_string(index);
    if (p.x.small_parts() && p.y.small_parts() && p.z.small_parts()) {
        out += ' ';
        out += plain_point_text(p);
    }
    return out;
}

}  // namespace corv
