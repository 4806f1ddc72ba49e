#include "python_lib/solid_object.h"

#include <new>
#include <utility>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "python_lib/solid_reading.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;

struct SolidObject {
    PyObject_HEAD Solid solid;  // constructed in place right after allocation, never changed
};

// Made once per process and never released.
PyTypeObject* solid_class = nullptr;

PyObject* refuse_construction(PyTypeObject*, PyObject*, PyObject*) {
    PyErr_SetString(PyExc_TypeError,
                    "Solid cannot be made directly: use corvanthium.box(), prism(), prismatoid() or load()");
    return nullptr;
}

// Solids of at least this many polygons are freed without the interpreter
// lock: freeing a large polygon list takes as long as a cheap transform.
// Once the interpreter is finalizing (Py_IsInitialized() is then false) the
// lock is kept.
constexpr std::size_t release_lock_to_free = 512;

void dealloc_solid(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    Solid& solid = reinterpret_cast<SolidObject*>(self)->solid;
    if (polygon_count(solid) >= release_lock_to_free && Py_IsInitialized() != 0) {
        Solid doomed = std::move(solid);
        binder::without_gil([&] { doomed = Solid{}; });
    }
    solid.~Solid();
    auto free_object = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_object(self);
    Py_DecRef(reinterpret_cast<PyObject*>(type));
}

const void* unwrap_solid(PyObject* obj) { return solid_of_instance(obj); }

bool read_solid(PyObject* obj, binder::Value& out) {
    const Solid* solid = solid_of_instance(obj);
    if (solid == nullptr) return binder::refuse_type(obj, "Solid");
    binder::store(out, solid);
    return true;
}

}  // namespace

const binder::Receiver solid_receiver{"Solid", unwrap_solid};
const binder::Converter solid_param{read_solid, false};

PyObject* solid_type(const SolidTables& tables) {
    if (solid_class != nullptr) return reinterpret_cast<PyObject*>(solid_class);
    PyType_Slot slots[] = {
        {Py_tp_new, reinterpret_cast<void*>(refuse_construction)},
        {Py_tp_dealloc, reinterpret_cast<void*>(dealloc_solid)},
        {Py_tp_methods, tables.methods},
        {Py_tp_getset, tables.properties},
        {Py_tp_repr, reinterpret_cast<void*>(tables.repr)},
        {Py_tp_doc, const_cast<char*>("The native part of corvanthium.Solid: one exact solid, never changed.")},
        {0, nullptr},
    };
    PyType_Spec spec = {
        "corvanthium._native.NativeSolid",
        static_cast<int>(sizeof(SolidObject)),
        0,
        Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE,
        slots,
    };
    solid_class = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&spec));
    return reinterpret_cast<PyObject*>(solid_class);
}

PyObject* new_solid_object(Solid solid) {
    if (solid_class == nullptr) {
        PyErr_SetString(PyExc_SystemError, "Solid class used before the module was initialised");
        return nullptr;
    }
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(solid_class, Py_tp_alloc));
    PyObject* obj = alloc(solid_class, 0);
    if (obj == nullptr) return nullptr;
    new (&reinterpret_cast<SolidObject*>(obj)->solid) Solid(std::move(solid));
    return obj;
}

const Solid* solid_of_instance(PyObject* obj) {
    if (solid_class == nullptr || !PyObject_TypeCheck(obj, solid_class)) return nullptr;
    return &reinterpret_cast<SolidObject*>(obj)->solid;
}

}  // namespace corv::python_lib
