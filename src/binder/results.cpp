#include "binder/results.h"

#include "binder/py_ref.h"

namespace corv::binder {
namespace {

// A new list holding convert(item) for each item, in order.
template <class Seq, class Convert>
PyObject* list_of(const Seq& items, Convert convert) {
    PyRef list(PyList_New(static_cast<Py_ssize_t>(items.size())));
    if (!list) return nullptr;
    Py_ssize_t i = 0;
    for (const auto& item : items) {
        PyObject* value = convert(item);
        if (value == nullptr) return nullptr;
        PyList_SetItem(list.get(), i++, value);  // takes the reference
    }
    return list.release();
}

}  // namespace

PyObject* text_result(const std::string& text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

PyObject* text_pair_result(const std::pair<std::string, std::string>& pair) {
    PyRef first(text_result(pair.first));
    if (!first) return nullptr;
    PyRef second(text_result(pair.second));
    if (!second) return nullptr;
    PyRef tuple(PyTuple_New(2));
    if (!tuple) return nullptr;
    PyTuple_SetItem(tuple.get(), 0, first.release());  // takes the reference
    PyTuple_SetItem(tuple.get(), 1, second.release());
    return tuple.release();
}

PyObject* text_list_result(const std::vector<std::string>& texts) { return list_of(texts, text_result); }

PyObject* text_rows_result(const std::vector<std::array<std::string, 8>>& rows) {
    return list_of(rows, [](const std::array<std::string, 8>& row) { return list_of(row, text_result); });
}

PyObject* float_list_result(const std::vector<double>& values) { return list_of(values, PyFloat_FromDouble); }

PyObject* float_result(double value) { return PyFloat_FromDouble(value); }

PyObject* count_result(std::size_t value) { return PyLong_FromSize_t(value); }

PyObject* bool_result(bool value) { return PyBool_FromLong(value ? 1 : 0); }

}  // namespace corv::binder
