#include "nurbs/nurbs_eval.h"

#include "core/panic.h"

namespace corv {

Texts nurbs_curve_eval(std::uint64_t, const TextRows&, const Texts&, const std::string&, const std::optional<Texts>&) {
    throw Panic("nurbs_curve_eval: not built yet");
}
Texts nurbs_surface_eval(std::uint64_t, std::uint64_t, const TextNet&, const Texts&, const Texts&, const std::string&,
                         const std::string&, const std::optional<TextRows>&) {
    throw Panic("nurbs_surface_eval: not built yet");
}

}  // namespace corv
