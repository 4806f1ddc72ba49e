// Polygon: one planar, labelled face; its loop runs counter-clockwise seen
// from the side its normal points to.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/plane.h"

namespace corv {

//
// The loop and its double copies are kept together and can only be set
// together (by the constructors and flip), so they always agree. They are
// immutable once made and shared between copies of the polygon (a copy is a
// reference count, not a copy of every coordinate): a Boolean's result
// shares the loops of the operand faces it keeps whole. flip gives the
// polygon a reversed loop of its own unless it is the loop's only holder.
struct Polygon {
    Plane plane;  // from vertices 0, 1, 2 at construction; pieces keep their parent's
    std::string label;

    // Takes ownership of the loop and label; fewer than three vertices throws Panic.
    static Polygon make(std::vector<Vec3> vertices, std::string label);
    // A polygon with a given (inherited) plane; the float copies are computed.
    static Polygon with_plane(std::vector<Vec3> vertices, Plane plane, std::string label);
    // The same from vertices whose double copies the caller already holds
    // (floats[i] must be to_f3(vertices[i]); builds with assertions check it
    // and throw Panic otherwise).
    // has_area: the caller has proved that the loop encloses area.
    static Polygon assemble(std::vector<Vec3> vertices, std::vector<Float3> floats, Plane plane, std::string label,
                            bool has_area = false);

    const std::vector<Vec3>& vertices() const { return loop().vertices; }
    // to_f3 of each vertex, in vertex order.
    const std::vector<Float3>& float_vertices() const { return loop().floats; }
    // Whether the loop is already known to enclose area (is_degenerate has
    // said so, or the polygon was made with that proof), without testing.
    bool known_to_have_area() const { return loop().area.load(std::memory_order_relaxed) == kHasArea; }
    // The smallest and largest double copy of a coordinate, per axis (zeros
    // for an empty loop).
    const Float3& float_low() const { return loop().low; }
    const Float3& float_high() const { return loop().high; }
    // Hints to fetch the loop record, and (once that is at hand) its double
    // copies, ahead of a pass over many polygons; no effect on any value.
    void prefetch_loop() const { __builtin_prefetch(loop_.get()); }
    void prefetch_floats() const {
        if (loop_) __builtin_prefetch(loop_->floats.data());
    }

    // Twice the vector area, summed over the fan from vertex 0; exact.
    Vec3 vector_area2() const;
    // |2 * vector area|^2; zero exactly when the polygon has no area.
    Rational area2() const;
    bool is_degenerate() const;
    // The same face seen from the other side: loop and float copies reversed,
    // plane negated, label kept.
    Polygon flipped() const;
    void flip();

private:
    enum : std::uint8_t { kAreaUnknown = 0, kHasArea = 1, kNoArea = 2 };
    struct Loop {
        std::vector<Vec3> vertices;
        std::vector<Float3> floats;
        Float3 low{}, high{};  // the bounds of floats
        // Whether the loop encloses area, once someone has found out. Every
        // finder finds the same answer, so concurrent readers may each
        // store it.
        mutable std::atomic<std::uint8_t> area{kAreaUnknown};
    };
    // The loop, or an empty one (a default-made or moved-from polygon).
    const Loop& loop() const { return loop_ ? *loop_ : empty_loop(); }
    static const Loop& empty_loop();
    static void set_bounds(Loop& loop);
    void set_loop(std::vector<Vec3>&& vertices, std::vector<Float3>&& floats, std::uint8_t area);

    std::shared_ptr<const Loop> loop_;
};

}  // namespace corv
