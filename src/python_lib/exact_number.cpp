#include "python_lib/exact_number.h"

#include <string>

#include "binder/py_ref.h"
#include "core/memory_budget.h"
#include "core/panic.h"
#include "exact_text/fraction_text.h"
#include "python_lib/errors.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;

// Set once at module initialisation, never changed or released afterwards.
PyObject* fraction_class = nullptr;
PyObject* decimal_class = nullptr;
PyObject* rational_abc = nullptr;

PyObject* attribute_of(const char* module, const char* name) {
    PyRef m(PyImport_ImportModule(module));
    return m ? PyObject_GetAttrString(m.get(), name) : nullptr;
}

// repr(obj), or str(obj) when plain is set; cut to 60 characters.
std::string repr_of(PyObject* obj, bool plain = false) {
    PyRef repr(plain ? PyObject_Str(obj) : PyObject_Repr(obj));
    const char* utf8 = repr ? PyUnicode_AsUTF8AndSize(repr.get(), nullptr) : nullptr;
    if (utf8 == nullptr) {
        PyErr_Clear();
        return "?";
    }
    std::string text(utf8);
    return text.size() > 60 ? text.substr(0, 60) + "..." : text;
}

bool refuse_float(PyObject* obj) {
    std::string r = repr_of(obj, true);
    PyErr_Format(PyExc_TypeError,
                 "a float is not exact (%s is stored as a binary fraction near it); pass Fraction(\"%s\"), the "
                 "text \"%s\", an int or a Decimal",
                 r.c_str(), r.c_str(), r.c_str());
    return false;
}

bool refuse_other(PyObject* obj) {
    PyRef type_name(PyType_GetName(Py_TYPE(obj)));
    if (!type_name) return false;
    PyErr_Format(PyExc_TypeError,
                 "expected an exact number (int, Fraction, Decimal or a text such as \"1/3\" or \"0.25\"), got '%U'",
                 type_name.get());
    return false;
}

bool read_text(PyObject* obj, Rational& out) {
    Py_ssize_t size = 0;
    const char* utf8 = PyUnicode_AsUTF8AndSize(obj, &size);
    if (utf8 == nullptr) return false;
    try {
        out = exact_text::parse_fraction_text(std::string_view(utf8, static_cast<std::size_t>(size)));
        return true;
    } catch (const Panic& e) {
        raise_kernel_error(e.what());
        return false;
    }
}

bool read_decimal(PyObject* obj, Rational& out) {
    PyRef finite(PyObject_CallMethod(obj, "is_finite", nullptr));
    if (!finite) return false;
    int is_finite = PyObject_IsTrue(finite.get());
    if (is_finite < 0) return false;
    if (is_finite == 0) {
        raise_kernel_error(repr_of(obj) + " is not a finite number");
        return false;
    }
    PyRef text(PyObject_Str(obj));
    return text && read_text(text.get(), out);
}

// numbers.Rational: its numerator and denominator, each through __index__.
bool read_ratio(PyObject* obj, Rational& out) {
    Integer parts[2];
    const char* names[2] = {"numerator", "denominator"};
    for (int i = 0; i < 2; ++i) {
        PyRef attr(PyObject_GetAttrString(obj, names[i]));
        PyRef index(attr ? PyNumber_Index(attr.get()) : nullptr);
        if (!index || !read_integer(index.get(), parts[i])) return false;
    }
    if (parts[1].is_zero()) {
        raise_kernel_error(repr_of(obj) + " has a zero denominator");
        return false;
    }
    out = Rational(parts[0], parts[1]);
    return true;
}

}  // namespace

bool load_number_classes() {
    if (fraction_class == nullptr) fraction_class = attribute_of("fractions", "Fraction");
    if (decimal_class == nullptr) decimal_class = attribute_of("decimal", "Decimal");
    if (rational_abc == nullptr) rational_abc = attribute_of("numbers", "Rational");
    return fraction_class != nullptr && decimal_class != nullptr && rational_abc != nullptr;
}

bool read_integer(PyObject* index, Integer& out) {
    int overflow = 0;
    long long small = PyLong_AsLongLongAndOverflow(index, &overflow);
    if (small == -1 && PyErr_Occurred() != nullptr) return false;
    if (overflow == 0) {
        out = Integer(static_cast<std::int64_t>(small));
        return true;
    }
    // Hexadecimal text is not subject to the interpreter's limit on decimal
    // digits and converts in linear time.
    PyRef hex(PyNumber_ToBase(index, 16));
    if (!hex) return false;
    Py_ssize_t length = 0;
    const char* text = PyUnicode_AsUTF8AndSize(hex.get(), &length);
    if (text == nullptr) return false;
    if (!memory::fits(static_cast<std::int64_t>(length))) {
        raise_memory_error();
        return false;
    }
    const bool negative = text[0] == '-';
    const char* digits = text + (negative ? 3 : 2);  // past "-0x" or "0x"
    if (mpz_set_str(out.get_mut(), digits, 16) != 0) {
        PyErr_SetString(PyExc_SystemError, "unexpected hexadecimal form of an int");
        return false;
    }
    if (negative) mpz_neg(out.get_mut(), out.get());
    return true;
}

bool read_rational(PyObject* obj, Rational& out) {
    if (PyBool_Check(obj)) {
        PyErr_SetString(PyExc_TypeError, "a bool is not a number here; pass the int 0 or 1");
        return false;
    }
    if (PyFloat_Check(obj)) return refuse_float(obj);
    if (PyLong_Check(obj) || PyIndex_Check(obj)) {
        PyRef index(PyNumber_Index(obj));
        Integer value;
        if (!index || !read_integer(index.get(), value)) return false;
        out = Rational::from_integer(value);
        return true;
    }
    if (PyUnicode_Check(obj)) return read_text(obj, out);
    int is_rational = PyObject_IsInstance(obj, rational_abc);
    if (is_rational < 0) return false;
    if (is_rational == 1) return read_ratio(obj, out);
    int is_decimal = PyObject_IsInstance(obj, decimal_class);
    if (is_decimal < 0) return false;
    if (is_decimal == 1) return read_decimal(obj, out);
    return refuse_other(obj);
}

PyObject* integer_object(const Integer& value) {
    if (mpz_fits_slong_p(value.get()) != 0) return PyLong_FromLong(mpz_get_si(value.get()));
    std::string text(mpz_sizeinbase(value.get(), 16) + 2, '\0');
    mpz_get_str(text.data(), 16, value.get());
    return PyLong_FromString(text.c_str(), nullptr, 16);
}

PyObject* fraction_object(const Rational& value) {
    PyRef num;
    PyRef den;
    if (auto parts = value.small_parts()) {
        num = PyRef(PyLong_FromLongLong(parts->first));
        den = PyRef(PyLong_FromLongLong(parts->second));
    } else {
        num = PyRef(integer_object(value.numerator()));
        den = PyRef(integer_object(value.denominator()));
    }
    if (!num || !den) return nullptr;
    if (value.small_parts()) return PyObject_CallFunctionObjArgs(fraction_class, num.get(), den.get(), nullptr);
    // A Rational is in lowest terms already; Fraction(n, d) would find the
    // gcd again, for seconds on numbers of a million digits. The two slots
    // are set directly instead, as Fraction's own constructor for coprime
    // parts does; should they ever be missing, Fraction(n, d) still serves.
    PyRef out(PyObject_CallMethod(reinterpret_cast<PyObject*>(&PyBaseObject_Type), "__new__", "O", fraction_class));
    if (out && PyObject_SetAttrString(out.get(), "_numerator", num.get()) == 0 &&
        PyObject_SetAttrString(out.get(), "_denominator", den.get()) == 0) {
        return out.release();
    }
    PyErr_Clear();
    return PyObject_CallFunctionObjArgs(fraction_class, num.get(), den.get(), nullptr);
}

}  // namespace corv::python_lib
