#include "python_lib/mesh_arguments.h"

#include <cstring>
#include <string>
#include <string_view>

#include "python_lib/errors.h"

namespace corv::python_lib {
namespace {

using binder::Value;

// The item format without a native or little-endian byte-order mark (this
// build only targets little-endian machines, where '<' and '=' read alike).
std::string_view plain_format(const char* format) {
    std::string_view f = format == nullptr ? "B" : format;
    if (!f.empty() && (f[0] == '@' || f[0] == '=' || f[0] == '<')) f.remove_prefix(1);
    return f;
}

// Releases the view on every exit.
struct BufferView {
    Py_buffer view{};
    bool held = false;
    ~BufferView() {
        if (held) PyBuffer_Release(&view);
    }
};

// Reads obj as a contiguous buffer of triples of one 8-byte item kind,
// accepted when its format is one of `formats`; the items go to out.
template <class Item>
bool read_triples(PyObject* obj, std::vector<std::array<Item, 3>>& out, std::initializer_list<std::string_view> formats,
                  const char* kind) {
    BufferView b;
    if (PyObject_GetBuffer(obj, &b.view, PyBUF_C_CONTIGUOUS | PyBUF_FORMAT) != 0) return false;
    b.held = true;
    bool known = false;
    for (std::string_view f : formats) known = known || plain_format(b.view.format) == f;
    if (!known || b.view.itemsize != static_cast<Py_ssize_t>(sizeof(Item))) {
        std::string text = std::string("expected a contiguous array of ") + kind + ", got item format '" +
                           std::string(plain_format(b.view.format)) + "'";
        PyErr_SetString(PyExc_TypeError, text.c_str());
        return false;
    }
    bool shaped = b.view.ndim == 1 || (b.view.ndim == 2 && b.view.shape != nullptr && b.view.shape[1] == 3);
    auto items = static_cast<std::size_t>(b.view.len) / sizeof(Item);
    if (!shaped || items % 3 != 0) {
        raise_kernel_error(std::string("expected an array of shape (n, 3) of ") + kind);
        return false;
    }
    out.resize(items / 3);
    if (!out.empty()) std::memcpy(out.data(), b.view.buf, items * sizeof(Item));
    return true;
}

bool read_double_triples(PyObject* obj, Value& out) {
    DoubleTriples triples;
    if (!read_triples(obj, triples, {"d"}, "float64")) return false;
    binder::store(out, std::move(triples));
    return true;
}

bool read_index_triples(PyObject* obj, Value& out) {
    IndexTriples triples;
    if (!read_triples(obj, triples, {"q", "l"}, "int64")) return false;
    binder::store(out, std::move(triples));
    return true;
}

bool read_any(PyObject* obj, Value& out) {
    binder::store(out, obj);
    return true;
}

}  // namespace

const binder::Converter double_triples{read_double_triples, false, true};
const binder::Converter index_triples{read_index_triples, false, true};
const binder::Converter any_object{read_any, false};

}  // namespace corv::python_lib
