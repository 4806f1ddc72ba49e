#include "python_lib/engine.h"

#include <string>

#include "binder/py_ref.h"
#include "local/local_boolean.h"
#include "python_lib/errors.h"

namespace corv::python_lib {
namespace {

bool read_engine(PyObject* obj, binder::Value& out) {
    if (obj == nullptr || obj == Py_None) {
        binder::store(out, default_engine);
        return true;
    }
    if (PyUnicode_Check(obj)) {
        for (Engine e : {Engine::bsp, Engine::local}) {
            if (PyUnicode_CompareWithASCIIString(obj, engine_name(e)) == 0) {
                binder::store(out, e);
                return true;
            }
        }
    }
    binder::PyRef repr(PyObject_Repr(obj));
    if (repr) PyErr_Format(PyExc_ValueError, "expected None, 'bsp' or 'local', got %U", repr.get());
    return false;
}

// The BSP engine on operands that have polygons. Its tree of an empty
// operand clips nothing, so it would read an empty solid as all of space
// (an intersection with it returns the other operand, a cut of it returns
// the other operand turned inside out); here an empty solid is the empty
// point set, as on the localized engine.
Solid bsp_boolean(BooleanOp op, const Solid& a, const Solid& b) {
    if (!a.polygons.empty() && !b.polygons.empty()) return boolean(op, a, b);
    switch (op) {
        case BooleanOp::union_: return a.polygons.empty() ? b : a;
        case BooleanOp::cut: return a;
        case BooleanOp::intersect: return Solid{};
    }
    return Solid{};
}

}  // namespace

const char* engine_name(Engine engine) { return engine == Engine::bsp ? "bsp" : "local"; }

const binder::Converter engine_param{read_engine, true, true};

Solid run_boolean(Engine engine, BooleanOp op, const Solid& a, const Solid& b) {
    return engine == Engine::local ? local_boolean(op, a, b) : bsp_boolean(op, a, b);
}

Solid run_union_all(Engine engine, std::span<const Solid> solids) {
    if (engine == Engine::local) return local_union_all(solids);
    if (solids.empty()) return Solid{};
    Solid acc = solids[0];
    for (const Solid& s : solids.subspan(1)) acc = bsp_boolean(BooleanOp::union_, acc, s);
    return acc;
}

Solid run_cut_all(Engine engine, const Solid& a, std::span<const Solid> tools) {
    if (engine == Engine::local) return local_cut_all(a, tools);
    if (tools.empty()) return a;
    Solid acc = bsp_boolean(BooleanOp::cut, a, tools[0]);
    for (const Solid& t : tools.subspan(1)) acc = bsp_boolean(BooleanOp::cut, acc, t);
    return acc;
}

}  // namespace corv::python_lib
