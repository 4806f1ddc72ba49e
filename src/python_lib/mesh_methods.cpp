#include "python_lib/mesh_methods.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "binder/conversion.h"
#include "binder/gil.h"
#include "binder/py_ref.h"
#include "core/exact_double.h"
#include "core/panic.h"
#include "mesh/from_triangles.h"
#include "mesh/mesh_of.h"
#include "python_lib/arguments.h"
#include "python_lib/call_guard.h"
#include "python_lib/errors.h"
#include "python_lib/exact_number.h"
#include "python_lib/mesh_arguments.h"
#include "python_lib/solid_object.h"

namespace corv::python_lib {
namespace {

using namespace corv::binder;

// A bytes object holding a copy of the given memory.
PyObject* bytes_of(const void* data, std::size_t size) {
    return PyBytes_FromStringAndSize(static_cast<const char*>(data), static_cast<Py_ssize_t>(size));
}

// The float64 coordinates (correctly rounded), row after row.
PyObject* rounded_vertices(const TriMesh& mesh) {
    std::vector<double> xyz;
    xyz.reserve(mesh.vertices.size() * 3);
    for (const Vec3& p : mesh.vertices) {
        xyz.push_back(p.x.to_double());
        xyz.push_back(p.y.to_double());
        xyz.push_back(p.z.to_double());
    }
    return bytes_of(xyz.data(), xyz.size() * sizeof(double));
}

PyObject* face_indices(const TriMesh& mesh) {
    std::vector<std::int64_t> indices;
    indices.reserve(mesh.triangles.size() * 3);
    for (const auto& t : mesh.triangles) indices.insert(indices.end(), t.begin(), t.end());
    return bytes_of(indices.data(), indices.size() * sizeof(std::int64_t));
}

// The exact coordinates as one flat tuple of ints, numerator and denominator
// of x, y, z per vertex; the package makes Fractions of them when asked.
PyObject* exact_parts(const TriMesh& mesh) {
    PyRef tuple(PyTuple_New(static_cast<Py_ssize_t>(mesh.vertices.size() * 6)));
    if (!tuple) return nullptr;
    Py_ssize_t at = 0;
    for (const Vec3& p : mesh.vertices) {
        for (const Rational* q : {&p.x, &p.y, &p.z}) {
            PyObject* num = nullptr;
            PyObject* den = nullptr;
            if (auto parts = q->small_parts()) {
                num = PyLong_FromLongLong(parts->first);
                den = PyLong_FromLongLong(parts->second);
            } else {
                num = integer_object(q->numerator());
                den = num == nullptr ? nullptr : integer_object(q->denominator());
            }
            if (num == nullptr || den == nullptr) {
                Py_XDECREF(num);
                return nullptr;
            }
            PyTuple_SetItem(tuple.get(), at++, num);  // takes the references
            PyTuple_SetItem(tuple.get(), at++, den);
        }
    }
    return tuple.release();
}

// Per triangle its label, the same str object for the same label.
PyObject* triangle_labels(const TriMesh& mesh) {
    std::vector<PyRef> names;
    for (const std::string& name : mesh.label_names) {
        names.emplace_back(PyUnicode_DecodeUTF8(name.data(), static_cast<Py_ssize_t>(name.size()), "replace"));
        if (!names.back()) return nullptr;
    }
    PyRef tuple(PyTuple_New(static_cast<Py_ssize_t>(mesh.labels.size())));
    if (!tuple) return nullptr;
    for (std::size_t i = 0; i < mesh.labels.size(); ++i) {
        PyObject* name = names.at(mesh.labels[i]).get();
        Py_IncRef(name);
        PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), name);  // takes the reference
    }
    return tuple.release();
}

// The parts of the solid's mesh, as the package's Mesh is made of them.
PyObject* mesh_parts(const Call& c) {
    TriMesh mesh = without_gil([&] { return mesh_of(self_solid(c)); });
    PyRef vertices(rounded_vertices(mesh));
    PyRef faces(vertices ? face_indices(mesh) : nullptr);
    PyRef exact(faces ? exact_parts(mesh) : nullptr);
    PyRef labels(exact ? triangle_labels(mesh) : nullptr);
    if (!labels) return nullptr;
    return PyTuple_Pack(4, vertices.get(), faces.get(), exact.get(), labels.get());
}

// Index triples as the kernel takes them; a negative index names its face.
std::vector<std::array<std::uint64_t, 3>> unsigned_faces(const IndexTriples& faces) {
    std::vector<std::array<std::uint64_t, 3>> out(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        for (std::size_t k = 0; k < 3; ++k) {
            if (faces[f][k] < 0) {
                throw Panic(PanicKind::index, "face " + std::to_string(f) + ": vertex index " +
                                                  std::to_string(faces[f][k]) + " is negative");
            }
            out[f][k] = static_cast<std::uint64_t>(faces[f][k]);
        }
    }
    return out;
}

SelfCrossing crossing_of(const Call& c, std::size_t i) {
    return c.args.get<bool>(i) ? SelfCrossing::resolve : SelfCrossing::refuse;
}

std::string label_of(const Call& c, std::size_t i) {
    return c.args.get<std::optional<std::string>>(i).value_or("mesh");
}

constexpr Param float_mesh_params[] = {{"vertices", &double_triples},
                                       {"faces", &index_triples},
                                       {"label", &optional_text, true, "'mesh'"},
                                       {"resolve", &flag, true, "False"}};
PyObject* from_float_mesh(const Call& c) {
    const auto& vertices = c.args.get<DoubleTriples>(0);
    const auto& faces = c.args.get<IndexTriples>(1);
    std::string label = label_of(c, 2);
    const SelfCrossing crossing = crossing_of(c, 3);
    return new_solid_object(without_gil([&] {
        std::vector<Vec3> points;
        points.reserve(vertices.size());
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const auto& v = vertices[i];
            for (double d : v) {
                if (!std::isfinite(d)) {
                    throw Panic(PanicKind::invalid_argument,
                                "vertex " + std::to_string(i) + ": a coordinate is not finite");
                }
            }
            points.push_back(Vec3{from_double(v[0]), from_double(v[1]), from_double(v[2])});
        }
        return solid_from_triangles(std::move(points), unsigned_faces(faces), label, crossing);
    }));
}

constexpr Param exact_mesh_params[] = {{"vertices", &number_rows},
                                       {"faces", &index_triples},
                                       {"label", &optional_text, true, "'mesh'"},
                                       {"resolve", &flag, true, "False"}};
PyObject* from_exact_mesh(const Call& c) {
    const auto& rows = c.args.get<NumberRows>(0);
    const auto& faces = c.args.get<IndexTriples>(1);
    std::string label = label_of(c, 2);
    const SelfCrossing crossing = crossing_of(c, 3);
    return new_solid_object(without_gil([&] {
        std::vector<Vec3> points;
        points.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].size() != 3) {
                throw Panic(PanicKind::bad_shape, "vertex " + std::to_string(i) + ": a point is (x, y, z), got " +
                                                      std::to_string(rows[i].size()) + " entries");
            }
            points.push_back(Vec3{rows[i][0], rows[i][1], rows[i][2]});
        }
        return solid_from_triangles(std::move(points), unsigned_faces(faces), label, crossing);
    }));
}

constexpr Entry functions[] = {
    {"_from_float_mesh",
     "A native solid from a float64 (n, 3) buffer of points, each converted exactly, and an int64 "
     "(m, 3) buffer of vertex indices.",
     float_mesh_params, from_float_mesh},
    {"_from_exact_mesh",
     "A native solid from rows (x, y, z) of exact numbers and an int64 (m, 3) buffer of vertex "
     "indices.",
     exact_mesh_params, from_exact_mesh},
};

constexpr Surface mesh_functions{functions, std::size(functions), nullptr, raise_current_exception, run_guarded};

}  // namespace

PyObject* solid_mesh_parts(const Call& c) { return mesh_parts(c); }

PyMethodDef* mesh_function_defs() { return method_table<&mesh_functions, std::size(functions)>(); }

}  // namespace corv::python_lib
