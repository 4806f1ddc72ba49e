#include "python_lib/results.h"

#include "binder/py_ref.h"
#include "python_lib/exact_number.h"

namespace corv::python_lib {

PyObject* fraction_tuple(std::span<const Rational> values) {
    binder::PyRef tuple(PyTuple_New(static_cast<Py_ssize_t>(values.size())));
    if (!tuple) return nullptr;
    for (std::size_t i = 0; i < values.size(); ++i) {
        PyObject* item = fraction_object(values[i]);
        if (item == nullptr) return nullptr;
        PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), item);  // takes the reference
    }
    return tuple.release();
}

PyObject* point_result(const Vec3& p) {
    const Rational xyz[3] = {p.x, p.y, p.z};
    return fraction_tuple(xyz);
}

PyObject* point_pair_result(const std::pair<Vec3, Vec3>& pair) {
    binder::PyRef lo(point_result(pair.first));
    binder::PyRef hi(lo ? point_result(pair.second) : nullptr);
    if (!hi) return nullptr;
    return PyTuple_Pack(2, lo.get(), hi.get());
}

}  // namespace corv::python_lib
