#include "python_lib/storage.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "core/panic.h"
#include "python_lib/solid_object.h"
#include "serial/serial.h"

namespace corv::python_lib {
namespace {

using binder::PyRef;

// Any object with the buffer interface (bytes, bytearray, memoryview, ...),
// copied, so that the work without the lock never reads a buffer another
// thread may change.
bool read_data(PyObject* obj, binder::Value& out) {
    if (!PyObject_CheckBuffer(obj)) return binder::refuse_type(obj, "bytes");
    Py_buffer view;
    if (PyObject_GetBuffer(obj, &view, PyBUF_SIMPLE) != 0) return false;
    std::string copy(static_cast<const char*>(view.buf), static_cast<std::size_t>(view.len));
    PyBuffer_Release(&view);
    binder::store(out, std::move(copy));
    return true;
}

// str, bytes or os.PathLike, as the file system's bytes.
bool read_path(PyObject* obj, binder::Value& out) {
    PyRef path(PyOS_FSPath(obj));
    if (!path) return false;
    PyRef encoded = PyUnicode_Check(path.get()) ? PyRef(PyUnicode_EncodeFSDefault(path.get())) : std::move(path);
    if (!encoded) return false;
    char* data = nullptr;
    Py_ssize_t size = 0;
    if (PyBytes_AsStringAndSize(encoded.get(), &data, &size) != 0) return false;
    std::string text(data, static_cast<std::size_t>(size));
    if (text.find('\0') != std::string::npos) {
        PyErr_SetString(PyExc_ValueError, "embedded null byte");
        return false;
    }
    binder::store(out, std::move(text));
    return true;
}

constexpr binder::Converter data_kind{read_data, false};
constexpr binder::Converter path_kind{read_path, false};

const std::string& path_of(const binder::Call& c) { return c.args.get<std::string>(0); }

std::span<const std::uint8_t> as_bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The solid in bytes; a corrupt_data Panic names where the bytes came from.
Solid decode_from(const std::string& data, const std::string& source) {
    try {
        return decode(as_bytes(data));
    } catch (const Panic& e) {
        throw Panic(e.kind, source + e.what());
    }
}

PyObject* bytes_object(const std::vector<std::uint8_t>& bytes) {
    return PyBytes_FromStringAndSize(reinterpret_cast<const char*>(bytes.data()),
                                     static_cast<Py_ssize_t>(bytes.size()));
}

// OSError for errno, naming the file, as open() would.
PyObject* file_error(int error, const std::string& path) {
    errno = error;
    return PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
}

}  // namespace

const binder::Param data_params[1] = {{"data", &data_kind}};
const binder::Param path_params[1] = {{"path", &path_kind}};

PyObject* solid_to_bytes(const binder::Call& c) {
    return bytes_object(binder::without_gil([&] { return encode(self_solid(c)); }));
}

PyObject* solid_from_bytes(const binder::Call& c) {
    const std::string& data = c.args.get<std::string>(0);
    return new_solid_object(binder::without_gil([&] { return decode_from(data, "argument 'data': "); }));
}

PyObject* solid_save(const binder::Call& c) {
    const std::string& path = path_of(c);
    int error = binder::without_gil([&] {
        std::vector<std::uint8_t> bytes = encode(self_solid(c));
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) return errno;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        int e = ok ? 0 : errno;
        if (std::fclose(f) != 0 && ok) e = errno;
        return ok && e == 0 ? 0 : (e == 0 ? EIO : e);
    });
    if (error != 0) return file_error(error, path);
    Py_RETURN_NONE;
}

PyObject* solid_load(const binder::Call& c) {
    const std::string& path = path_of(c);
    std::string data;
    int error = binder::without_gil([&] {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) return errno;
        char buffer[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
        int e = std::ferror(f) ? (errno == 0 ? EIO : errno) : 0;
        std::fclose(f);
        return e;
    });
    if (error != 0) return file_error(error, path);
    return new_solid_object(
        binder::without_gil([&] { return decode_from(data, "argument 'path': file '" + path + "': "); }));
}

}  // namespace corv::python_lib
