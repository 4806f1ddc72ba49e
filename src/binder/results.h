// Conversion of kernel results into new Python objects. Each returns a new
// reference, or null with a Python error set.
#pragma once

#include <Python.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace corv::binder {

PyObject* text_result(const std::string& text);
PyObject* text_pair_result(const std::pair<std::string, std::string>& pair);
PyObject* text_list_result(const std::vector<std::string>& texts);
PyObject* text_rows_result(const std::vector<std::array<std::string, 8>>& rows);
PyObject* float_list_result(const std::vector<double>& values);
PyObject* float_result(double value);
PyObject* count_result(std::size_t value);
PyObject* bool_result(bool value);

}  // namespace corv::binder
