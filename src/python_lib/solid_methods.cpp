#include "python_lib/solid_methods.h"

#include <optional>
#include <utility>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/results.h"
#include "canonical/logical_faces.h"
#include "canonical/watertight.h"
#include "chamfer/chamfer.h"
#include "core/panic.h"
#include "core/transforms.h"
#include "python_lib/arguments.h"
#include "python_lib/call_guard.h"
#include "python_lib/engine.h"
#include "python_lib/errors.h"
#include "python_lib/exact_number.h"
#include "python_lib/many_operands.h"
#include "python_lib/mesh_methods.h"
#include "python_lib/results.h"
#include "python_lib/solid_reading.h"
#include "python_lib/storage.h"

namespace corv::python_lib {
namespace {

using namespace corv::binder;

const Rational& num(const Call& c, std::size_t i) { return c.args.get<Rational>(i); }

// Runs the kernel without the interpreter lock and wraps its solid.
template <class Work>
PyObject* solid_result(Work&& work) {
    return new_solid_object(without_gil(std::forward<Work>(work)));
}

constexpr Param translate_params[] = {{"x", &number}, {"y", &number}, {"z", &number}};
PyObject* translate(const Call& c) {
    Vec3 t{num(c, 0), num(c, 1), num(c, 2)};
    return solid_result([&] { return translated(self_solid(c), t); });
}

constexpr Param scale_params[] = {{"fx", &number}, {"fy", &optional_number}, {"fz", &optional_number}};
PyObject* scale(const Call& c) {
    const auto& fy = c.args.get<std::optional<Rational>>(1);
    const auto& fz = c.args.get<std::optional<Rational>>(2);
    if (fy.has_value() != fz.has_value()) {
        PyErr_SetString(PyExc_TypeError, "Solid.scale() takes one factor (uniform) or three (fx, fy, fz), not two");
        return nullptr;
    }
    const Rational& fx = num(c, 0);
    const char* names[3] = {"fx", "fy", "fz"};
    const Rational* factors[3] = {&fx, fy ? &*fy : &fx, fz ? &*fz : &fx};
    for (std::size_t k = 0; k < 3; ++k) {
        if (factors[k]->is_zero()) {
            throw Panic(PanicKind::invalid_argument,
                        std::string("scale: argument '") + names[k] +
                            "' is 0, which would flatten the solid; factors must not be 0");
        }
    }
    return solid_result([&] { return scaled(self_solid(c), fx, *factors[1], *factors[2]); });
}

constexpr Param mirror_params[] = {{"axis", &axis}};
PyObject* mirror(const Call& c) {
    return solid_result([&] { return mirrored(self_solid(c), c.args.get<std::uint64_t>(0)); });
}

constexpr Param rotate_quarter_params[] = {{"axis", &axis}, {"quarters", &optional_quarters}};
PyObject* rotate_quarter(const Call& c) {
    return solid_result(
        [&] { return rotated_quarter(self_solid(c), c.args.get<std::uint64_t>(0), c.args.get<std::int64_t>(1)); });
}

constexpr Param boolean_params[] = {{"other", &solid_param}, {"engine", &engine_param, true}};
template <BooleanOp Op>
PyObject* boolean(const Call& c) {
    Engine engine = c.args.get<Engine>(1);
    return solid_result([&] { return run_boolean(engine, Op, self_solid(c), solid_arg(c, 0)); });
}

constexpr Param chamfer_params[] = {{"dist", &number}};
// The operators use the default engine.
template <BooleanOp Op>
PyObject* boolean_operator(const Call& c) {
    return solid_result([&] { return run_boolean(default_engine, Op, self_solid(c), solid_arg(c, 0)); });
}

PyObject* chamfer(const Call& c) {
    const Rational& dist = positive(num(c, 0), "chamfer", "dist");
    return solid_result([&] { return corv::chamfer(self_solid(c), dist); });
}

PyObject* canonical(const Call& c) {
    return text_result(without_gil([&] { return canonical_text(self_solid(c)); }));
}

PyObject* volume(const Call& c) {
    return fraction_object(without_gil([&] { return python_lib::volume(self_solid(c)); }));
}

PyObject* bbox(const Call& c) {
    return point_pair_result(without_gil([&] { return bounds(self_solid(c)); }));
}

PyObject* face_count(const Call& c) {
    return count_result(without_gil([&] { return logical_faces(self_solid(c)); }));
}

PyObject* polygon_count(const Call& c) { return count_result(python_lib::polygon_count(self_solid(c))); }

PyObject* is_watertight(const Call& c) {
    return bool_result(without_gil([&] { return watertight_ok(self_solid(c)); }));
}

PyObject* repr(const Call& c) {
    return text_result(without_gil([&] { return summary(self_solid(c)); }));
}

// A solid never changes, so a copy is the solid itself.
PyObject* same_solid(const Call& c) {
    return solid_result([&] { return self_solid(c); });
}

bool ignore_argument(PyObject*, Value&) { return true; }
constexpr Converter anything{ignore_argument, false};
constexpr Param deepcopy_params[] = {{"memo", &anything}};

#define EXACT_NUMBERS                                                                          \
    "Numbers are exact: int, Fraction, finite Decimal or a text such as \"1/3\" or \"0.25\". " \
    "Raises TypeError for another type (a float or bool included) and KernelError for a "      \
    "malformed text or a zero denominator."

constexpr Entry methods[] = {
    {"translate",
     "translate($self, x, y, z)\n--\n\n"
     "The solid moved by (x, y, z), exactly. " EXACT_NUMBERS,
     translate_params, translate},
    {"scale",
     "scale($self, fx, fy=None, fz=None)\n--\n\n"
     "The solid scaled about the origin by one factor (uniform) or three, exactly; a negative "
     "product of factors turns every face round. A factor of 0 is a KernelError, passing two "
     "factors a TypeError. " EXACT_NUMBERS,
     scale_params, scale},
    {"mirror",
     "mirror($self, axis)\n--\n\n"
     "The solid reflected in the plane where coordinate `axis` is zero (0, 1, 2 or 'x', 'y', "
     "'z'), exactly. Raises TypeError for an axis of another type, KernelError for another value.",
     mirror_params, mirror},
    {"rotate_quarter",
     "rotate_quarter($self, axis, quarters=1)\n--\n\n"
     "The solid turned by quarters * 90 degrees about the axis (0, 1, 2 or 'x', 'y', 'z'), "
     "right-handed; exact, as every coordinate only moves or changes sign. Raises TypeError "
     "for a non-int quarters or axis type, KernelError for another axis value.",
     rotate_quarter_params, rotate_quarter},
    {"union",
     "union($self, other, *, engine=None)\n--\n\n"
     "The exact union of the two solids (also `a | b`). engine is None (DEFAULT_ENGINE, now "
     "'local'), 'bsp' or 'local'; another value raises ValueError. The engines give the same "
     "point set (see same_shape()); 'bsp' gives the very polygons corvanthium_rs gives (where "
     "no operand is empty: an empty solid is the empty set here, all of space there), and a "
     "chamfer equals corvanthium_rs's only on a solid made with 'bsp'. Raises TypeError when "
     "other is not a Solid, KernelError for a failure of the kernel.",
     boolean_params, boolean<BooleanOp::union_>},
    {"cut",
     "cut($self, other, *, engine=None)\n--\n\n"
     "The exact difference self minus other (also `a - b`). engine and errors as for union().",
     boolean_params, boolean<BooleanOp::cut>},
    {"intersect",
     "intersect($self, other, *, engine=None)\n--\n\n"
     "The exact intersection of the two solids (also `a & b`). engine and errors as for union().",
     boolean_params, boolean<BooleanOp::intersect>},
    {"cut_all",
     "cut_all($self, tools, *, engine=None)\n--\n\n"
     "The solid minus every solid of tools (any iterable of Solids), exactly. The 'local' engine "
     "cuts them all in one pass (144 holes are not 144 passes); 'bsp' cuts them one after "
     "another in order. engine and errors as for union().",
     cut_all_params, solid_cut_all},
    {"same_shape",
     "same_shape($self, other)\n--\n\n"
     "Whether the two solids are exactly the same point set (their oriented faces cover each "
     "plane alike), however their faces are divided into polygons: the way to compare results "
     "of different engines; it runs neither Boolean engine. Raises TypeError when other is not a Solid.",
     same_shape_params, solid_same_shape},
    {"chamfer",
     "chamfer($self, dist)\n--\n\n"
     "The solid with every edge between two faces bevelled by dist (positive) and the corners "
     "cut, exactly. Raises KernelError when a face at an edge has no rational unit normal (the "
     "cut could not be exact) or the solid is empty. " EXACT_NUMBERS,
     chamfer_params, chamfer},
    {"canonical",
     "canonical($self)\n--\n\n"
     "A text that is the same exactly when two solids hold the same faces (each face as its "
     "set of exact corner points); the same text as corvanthium_rs gives for the same solid.",
     {},
     canonical},
    {"to_bytes",
     "to_bytes($self)\n--\n\n"
     "The solid's exact polygon list (loops, planes, labels) in the compact, versioned, "
     "length-checked and checksummed form that save() writes and pickles carry.",
     {},
     solid_to_bytes},
    {"save",
     "save($self, path)\n--\n\n"
     "Writes to_bytes() to the file at path (str, bytes or os.PathLike); corvanthium.load(path) "
     "reads it back identical. Raises OSError when the file cannot be written.",
     path_params, solid_save},
    {"__reduce__",
     "__reduce__($self)\n--\n\n"
     "Pickles the solid by its exact polygon list; loading recomputes nothing. As with every "
     "pickle, loading one from an untrusted source is unsafe.",
     {},
     solid_reduce},
    {"mesh",
     "mesh($self)\n--\n\n"
     "The solid's exact, closed, consistently oriented triangle mesh, a frozen corvanthium.Mesh: "
     "the faces merged and triangulated without new points, every edge used once each way. "
     "Raises KernelError for an empty solid or one that is not closed.",
     {},
     solid_mesh},
    {"export",
     "export($self, path)\n--\n\n"
     "Writes the solid's mesh to path (str or PathLike) in the format its suffix names: .stl, "
     ".obj, .ply, .glb or .3mf (through trimesh, the 'mesh' extra). Coordinates are written as "
     "the files hold them, as floats. Raises KernelError as mesh() does, ValueError for another "
     "suffix, ImportError without trimesh.",
     output_path_params, solid_export},
    {"render",
     "render($self, path)\n--\n\n"
     "Writes a shaded PNG picture of the solid to path (through matplotlib, the 'plot' extra). "
     "Raises KernelError as mesh() does, ImportError without matplotlib.",
     output_path_params, solid_render},
    {"show",
     "show($self, path)\n--\n\n"
     "Writes one self-contained HTML file to path that shows the solid in a browser with orbit "
     "controls (three.js bundled, no network needed) and returns the path. Raises KernelError "
     "as mesh() does.",
     output_path_params, solid_show},
    {"_repr_png_",
     "_repr_png_($self)\n--\n\n"
     "The picture render() writes, as PNG bytes (notebooks show it); None without matplotlib.",
     {},
     solid_repr_png},
    {"__copy__", "__copy__($self)\n--\n\nAn equal solid (solids never change).", {}, same_solid},
    {"__deepcopy__", "__deepcopy__($self, memo)\n--\n\nAn equal solid (solids never change).", deepcopy_params,
     same_solid},
};

constexpr Entry properties[] = {
    {"volume", "The exact enclosed volume, a Fraction.", {}, volume},
    {"bbox",
     "The exact bounding box ((xmin, ymin, zmin), (xmax, ymax, zmax)) of Fractions; "
     "KernelError for a solid without polygons.",
     {},
     bbox},
    {"face_count", "The number of logical faces (distinct face planes), an int.", {}, face_count},
    {"polygon_count", "The number of polygons the solid is stored as, an int.", {}, polygon_count},
    {"is_watertight",
     "Whether every polygon side is matched, stretch by stretch, by sides running the other way (exact).",
     {},
     is_watertight},
};

constexpr Param operand_params[] = {{"other", &solid_param}};
constexpr Entry operators[] = {
    {"__repr__", "", {}, repr},
    {"__or__", "", operand_params, boolean_operator<BooleanOp::union_>},
    {"__sub__", "", operand_params, boolean_operator<BooleanOp::cut>},
    {"__and__", "", operand_params, boolean_operator<BooleanOp::intersect>},
};

constexpr Surface method_surface{methods, std::size(methods), &solid_receiver, raise_current_exception, run_guarded};
constexpr Surface property_surface{properties, std::size(properties), &solid_receiver, raise_current_exception,
                                   run_guarded};
constexpr Surface operator_surface{operators, std::size(operators), &solid_receiver, raise_current_exception,
                                   run_guarded};

}  // namespace

SolidTables solid_tables() {
    return {
        method_table<&method_surface, std::size(methods)>(),
        property_table<&property_surface, std::size(properties)>(),
        unary_slot<&operator_surface, 0>,
        binary_slot<&operator_surface, 1>,
        binary_slot<&operator_surface, 2>,
        binary_slot<&operator_surface, 3>,
        "An exact solid: a list of planar polygons whose every coordinate is an exact rational.\n\n"
        "Solids are immutable; every operation returns a new one. Make them with box(), prism(),\n"
        "prismatoid() or load(); combine them with | (union), - (cut) and & (intersect).",
    };
}

}  // namespace corv::python_lib
