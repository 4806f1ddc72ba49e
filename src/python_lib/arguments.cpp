#include "python_lib/arguments.h"

#include <string>

#include "binder/conversion.h"
#include "binder/py_ref.h"
#include "core/panic.h"
#include "python_lib/errors.h"
#include "python_lib/exact_number.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;
using binder::Value;

// Sequences report their own length; room is reserved only up to this many
// items, so a sequence lying about its length cannot force a huge allocation.
constexpr Py_ssize_t reserve_limit = 4096;

bool read(PyObject* obj, Rational& out) { return read_rational(obj, out); }

bool refuse_non_integer(PyObject* obj) {
    if (PyBool_Check(obj)) {
        PyErr_SetString(PyExc_TypeError, "expected an int, got a bool");
        return false;
    }
    if (PyFloat_Check(obj) || !PyIndex_Check(obj)) {
        PyRef type_name(PyType_GetName(Py_TYPE(obj)));
        if (type_name) PyErr_Format(PyExc_TypeError, "expected an int, got '%U'", type_name.get());
        return false;
    }
    return true;
}

// A sequence but not a text (a str is a sequence of characters, never of numbers).
bool check_sequence(PyObject* obj, Py_ssize_t& size) {
    if (PyUnicode_Check(obj) || PyBytes_Check(obj) || PyByteArray_Check(obj) || !PySequence_Check(obj)) {
        PyRef type_name(PyType_GetName(Py_TYPE(obj)));
        if (type_name) PyErr_Format(PyExc_TypeError, "expected a sequence, got '%U'", type_name.get());
        return false;
    }
    size = PySequence_Size(obj);
    return size >= 0;
}

bool read(PyObject* obj, Point2& out) {
    Py_ssize_t size = 0;
    if (!check_sequence(obj, size)) return false;
    if (size != 2) {
        std::string text = "a point is a pair (x, y), got ";
        text += std::to_string(size);
        raise_kernel_error(text + " entries");
        return false;
    }
    Rational xy[2];
    for (Py_ssize_t i = 0; i < 2; ++i) {
        PyRef item(PySequence_GetItem(obj, i));
        if (!item || !read(item.get(), xy[i])) {
            binder::prefix_current_error(i == 0 ? "x: " : "y: ");
            return false;
        }
    }
    out = Point2{std::move(xy[0]), std::move(xy[1])};
    return true;
}

template <class Item>
constexpr bool is_leaf = std::is_same_v<Item, Rational> || std::is_same_v<Item, Point2>;

// Each item in order; a failing item's error is prefixed with its index, so
// nested failures read "[2][0]: ...".
template <class Item>
bool read(PyObject* obj, std::vector<Item>& out) {
    Py_ssize_t size = 0;
    if (!check_sequence(obj, size)) return false;
    out.reserve(static_cast<std::size_t>(std::min(size, reserve_limit)));
    binder::ItemTally tally;
    for (Py_ssize_t i = 0; i < size; ++i) {
        PyRef item(PySequence_GetItem(obj, i));
        Item value;
        if (!item || !read(item.get(), value)) {
            std::string where = "[";  // appended piece by piece: g++ 12 warns falsely on a chain of +
            where += std::to_string(i);
            where += is_leaf<Item> ? "]: " : "]";
            binder::prefix_current_error(where);
            return false;
        }
        out.push_back(std::move(value));
        if (!binder::count_converted_item(tally, sizeof(Item))) return false;
    }
    binder::end_converted_items(tally);
    return true;
}

template <class T>
bool read(PyObject* obj, std::optional<T>& out) {
    if (obj == nullptr || obj == Py_None) {
        out.reset();
        return true;
    }
    T value;
    if (!read(obj, value)) return false;
    out = std::move(value);
    return true;
}

template <class T>
bool read_into(PyObject* obj, Value& out) {
    T value{};
    if (!read(obj, value)) return false;
    binder::store(out, std::move(value));
    return true;
}

bool read_axis(PyObject* obj, Value& out) {
    if (PyUnicode_Check(obj)) {
        const char* name = PyUnicode_AsUTF8AndSize(obj, nullptr);
        if (name == nullptr) return false;
        const std::string text(name);
        if (text == "x" || text == "y" || text == "z" || text == "X" || text == "Y" || text == "Z") {
            binder::store(out, static_cast<std::uint64_t>((text[0] | 0x20) - 'x'));
            return true;
        }
    } else {
        if (!refuse_non_integer(obj)) return false;
        PyRef index(PyNumber_Index(obj));
        if (!index) return false;
        int overflow = 0;
        long long value = PyLong_AsLongLongAndOverflow(index.get(), &overflow);
        if (value == -1 && PyErr_Occurred() != nullptr) return false;
        if (overflow == 0 && value >= 0 && value <= 2) {
            binder::store(out, static_cast<std::uint64_t>(value));
            return true;
        }
    }
    PyRef repr(PyObject_Repr(obj));
    if (repr) {
        PyErr_Format(kernel_error_class(), "an axis is 0, 1, 2 or 'x', 'y', 'z', got %U", repr.get());
    }
    return false;
}

bool read_count(PyObject* obj, Value& out) {
    if (!refuse_non_integer(obj)) return false;
    PyRef index(PyNumber_Index(obj));
    if (!index) return false;
    int overflow = 0;
    long long value = PyLong_AsLongLongAndOverflow(index.get(), &overflow);
    if (value == -1 && PyErr_Occurred() != nullptr) return false;
    if (overflow != 0 || value < 0) {
        PyErr_Format(kernel_error_class(), "expected an int from 0 to 2**63 - 1, got %R", index.get());
        return false;
    }
    binder::store(out, static_cast<std::uint64_t>(value));
    return true;
}

// True or False (omitted: False); nothing else, not even 0 or 1.
bool read_flag(PyObject* obj, Value& out) {
    if (obj != nullptr && !PyBool_Check(obj)) return binder::refuse_type(obj, "bool");
    binder::store(out, obj == Py_True);
    return true;
}

bool read_quarters(PyObject* obj, Value& out) {
    if (obj == nullptr || obj == Py_None) {
        binder::store(out, std::int64_t{1});
        return true;
    }
    if (!refuse_non_integer(obj)) return false;
    PyRef index(PyNumber_Index(obj));
    PyRef four(PyLong_FromLong(4));
    PyRef turn(index && four ? PyNumber_Remainder(index.get(), four.get()) : nullptr);
    if (!turn) return false;
    binder::store(out, static_cast<std::int64_t>(PyLong_AsLong(turn.get())));
    return true;
}

}  // namespace

const binder::Converter number{read_into<Rational>, false, true};
const binder::Converter optional_number{read_into<std::optional<Rational>>, true, true};
const binder::Converter number_list{read_into<Numbers>, false, true};
const binder::Converter number_rows{read_into<NumberRows>, false, true};
const binder::Converter number_net{read_into<NumberNet>, false, true};
const binder::Converter optional_number_list{read_into<std::optional<Numbers>>, true, true};
const binder::Converter optional_number_rows{read_into<std::optional<NumberRows>>, true, true};
const binder::Converter outline{read_into<std::vector<Point2>>, false, true};
const binder::Converter axis{read_axis, false, true};
const binder::Converter count{read_count, false, true};
const binder::Converter flag{read_flag, true};
const binder::Converter quarters{read_quarters, false, true};
const binder::Converter optional_quarters{read_quarters, true, true};

const Rational& positive(const Rational& value, const char* call, const char* argument) {
    if (value.sign() <= 0) {
        throw Panic(PanicKind::invalid_argument,
                    std::string(call) + ": argument '" + argument + "' must be positive, got " + value.plain_text());
    }
    return value;
}

}  // namespace corv::python_lib
