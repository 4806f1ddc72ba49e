#include "python_rs/solid_type.h"

#include <memory>
#include <utility>

#include "binder/conversion.h"
#include "binder/py_ref.h"

namespace corv::python_rs {
namespace {

using binder::PyRef;

struct SolidObject {
    PyObject_HEAD HeldSolid* held;  // owned; set right after allocation, never changed
};

// Made once per process and never released.
PyTypeObject* solid_class = nullptr;

PyObject* refuse_construction(PyTypeObject* type, PyObject*, PyObject*) {
    PyRef name(PyType_GetName(type));
    if (name) PyErr_Format(PyExc_TypeError, "No constructor defined for %U", name.get());
    return nullptr;
}

void dealloc_solid(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    delete reinterpret_cast<SolidObject*>(self)->held;
    auto free_object = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_object(self);
    Py_DecRef(reinterpret_cast<PyObject*>(type));
}

const void* unwrap_solid(PyObject* obj) { return held_of_instance(obj); }

bool read_solid(PyObject* obj, binder::Value& out) {
    const HeldSolid* held = held_of_instance(obj);
    if (held == nullptr) return binder::refuse_type(obj, "PySolid");
    binder::store(out, held);
    return true;
}

}  // namespace

const binder::Receiver solid_receiver{"PySolid", unwrap_solid};
const binder::Converter solid_param{read_solid, false};

PyObject* solid_type(PyMethodDef* methods) {
    if (solid_class != nullptr) return reinterpret_cast<PyObject*>(solid_class);
    PyType_Slot slots[] = {
        {Py_tp_new, reinterpret_cast<void*>(refuse_construction)},
        {Py_tp_dealloc, reinterpret_cast<void*>(dealloc_solid)},
        {Py_tp_methods, methods},
        {0, nullptr},
    };
    PyType_Spec spec = {
        "corvanthium_rs.PySolid", static_cast<int>(sizeof(SolidObject)), 0, Py_TPFLAGS_DEFAULT, slots,
    };
    solid_class = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&spec));
    return reinterpret_cast<PyObject*>(solid_class);
}

PyObject* new_solid_object(corv::ShapedSolid result) {
    if (solid_class == nullptr) {
        PyErr_SetString(PyExc_SystemError, "PySolid class used before the module was initialised");
        return nullptr;
    }
    auto owned = std::make_unique<HeldSolid>(HeldSolid{std::move(result.solid), std::move(result.tree_shape)});
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(solid_class, Py_tp_alloc));
    PyObject* obj = alloc(solid_class, 0);
    if (obj == nullptr) return nullptr;
    reinterpret_cast<SolidObject*>(obj)->held = owned.release();
    return obj;
}

PyObject* new_solid_object(corv::Solid solid) { return new_solid_object(corv::ShapedSolid{std::move(solid), nullptr}); }

const HeldSolid* held_of_instance(PyObject* obj) {
    if (solid_class == nullptr || !PyObject_TypeCheck(obj, solid_class)) return nullptr;
    return reinterpret_cast<SolidObject*>(obj)->held;
}

}  // namespace corv::python_rs
