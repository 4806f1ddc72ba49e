#include "ssi/rpatch.h"

#include <string>

#include "core/guard.h"
#include "core/panic.h"

namespace corv {
namespace {

// a <- (a + b) * 1/2 over the first dim entries; a keeps exactly dim entries.
void blend_into(Point& a, const Point& b, std::size_t dim) {
    if (a.size() < dim || b.size() < dim) {
        throw Panic(PanicKind::bad_shape, "control point has " + std::to_string(a.size() < dim ? a.size() : b.size()) +
                                              " entries, the first point has " + std::to_string(dim));
    }
    for (std::size_t i = 0; i < dim; ++i) a[i] = (a[i] + b[i]).halved();
    a.resize(dim);
}

void check_net_not_empty(const Net& net) {
    if (net.empty()) throw Panic(PanicKind::bad_shape, "patch net has no rows");
    if (net[0].empty()) throw Panic(PanicKind::bad_shape, "patch net: the first row has no points");
}

// The box grows to take in (x, y, z); the first point sets both corners.
void take_in(PatchBox& box, bool first, const Rational& x, const Rational& y, const Rational& z) {
    if (first) {
        box.first = Vec3{x, y, z};
        box.second = box.first;
        return;
    }
    const Rational* c[3] = {&x, &y, &z};
    for (std::size_t k = 0; k < 3; ++k) {
        if (*c[k] < box.first[k]) box.first[k] = *c[k];
        if (*c[k] > box.second[k]) box.second[k] = *c[k];
    }
}

}  // namespace

std::pair<std::vector<Row>, std::vector<Row>> RPatch::split_rows(const std::vector<Row>& rows, std::size_t dim) {
    return split_rows(std::vector<Row>(rows), dim);
}

std::pair<std::vector<Row>, std::vector<Row>> RPatch::split_rows(std::vector<Row>&& rows, std::size_t dim) {
    std::pair<std::vector<Row>, std::vector<Row>> out;
    out.first.reserve(rows.size());
    out.second.reserve(rows.size());
    for (Row& w : rows) {
        const std::size_t h = w.size();
        if (h == 0) throw Panic(PanicKind::bad_shape, "cannot split a row with no points");
        Row left;
        left.reserve(h);
        left.push_back(w[0]);
        // de Casteljau in place: after level o, w[0] is the next left point
        // and w[h-1-o] is final, so w ends up holding the right half in order.
        for (std::size_t o = 1; o < h; ++o) {
            for (std::size_t j = 0; j + o < h; ++j) blend_into(w[j], w[j + 1], dim);
            guard::poll(static_cast<std::int64_t>(h - o));
            left.push_back(w[0]);
        }
        out.first.push_back(std::move(left));
        out.second.push_back(std::move(w));
    }
    return out;
}

std::array<RPatch, 4> RPatch::split4() const {
    check_net_not_empty(net);
    const std::size_t dim = net[0][0].size();
    const std::size_t m = net.size();
    const std::size_t n = net[0].size();
    for (std::size_t i = 1; i < m; ++i) {
        if (net[i].size() < n) {
            throw Panic(PanicKind::bad_shape, "patch net: row " + std::to_string(i) + " has " +
                                                  std::to_string(net[i].size()) + " points, row 0 has " +
                                                  std::to_string(n));
        }
    }

    std::vector<Row> columns(n);
    for (std::size_t j = 0; j < n; ++j) {
        columns[j].reserve(m);
        for (std::size_t i = 0; i < m; ++i) columns[j].push_back(net[i][j]);
    }
    auto u_halves = split_rows(std::move(columns), dim);

    const Rational um = (u0 + u1).halved();
    const Rational vm = (v0 + v1).halved();
    std::array<RPatch, 4> quarters;
    std::size_t k = 0;
    for (int side = 0; side < 2; ++side) {
        std::vector<Row>& cols = side == 0 ? u_halves.first : u_halves.second;
        std::vector<Row> rows(m);
        for (std::size_t i = 0; i < m; ++i) {
            rows[i].reserve(n);
            for (std::size_t j = 0; j < n; ++j) rows[i].push_back(std::move(cols[j][i]));
        }
        auto v_halves = split_rows(std::move(rows), dim);
        const Rational& a = side == 0 ? u0 : um;
        const Rational& b = side == 0 ? um : u1;
        quarters[k++] = RPatch{std::move(v_halves.first), a, b, v0, vm};
        quarters[k++] = RPatch{std::move(v_halves.second), a, b, vm, v1};
    }
    return quarters;
}

PatchBox RPatch::bbox() const {
    check_net_not_empty(net);
    const bool cartesian = net[0][0].size() == 3;
    PatchBox box;
    bool first = true;
    for (const Row& row : net) {
        for (const Point& p : row) {
            if (cartesian) {
                if (p.size() < 3)
                    throw Panic(PanicKind::bad_shape,
                                "Cartesian control point has " + std::to_string(p.size()) + " entries");
                take_in(box, first, p[0], p[1], p[2]);
            } else {
                if (p.size() < 4)
                    throw Panic(PanicKind::bad_shape,
                                "homogeneous control point has " + std::to_string(p.size()) + " entries");
                if (p[3].is_zero())
                    throw Panic(PanicKind::division_by_zero, "homogeneous control point with zero weight");
                take_in(box, first, p[0] / p[3], p[1] / p[3], p[2] / p[3]);
            }
            first = false;
        }
    }
    return box;
}

bool boxes_disjoint(const PatchBox& a, const PatchBox& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a.first[k] > b.second[k] || b.first[k] > a.second[k]) return true;
    }
    return false;
}

}  // namespace corv
