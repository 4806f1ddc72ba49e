#include "ssi/ssi_pairs.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "core/discard.h"
#include "core/guard.h"
#include "core/memory_budget.h"
#include "core/panic.h"
#include "ssi/rpatch.h"

namespace corv {
namespace {

// A patch of one subdivision level with its box, computed once. Cells are
// immutable and shared: a quarter that meets several partners is held by
// each of those pairs without copying its net.
struct Cell {
    RPatch patch;
    PatchBox box;
    std::size_t id;  // index among the cells made at the same level
};
using CellPtr = std::shared_ptr<const Cell>;
using Quarters = std::array<CellPtr, 4>;

struct CellPair {
    CellPtr a, b;
};

CellPtr make_cell(RPatch&& patch, std::size_t id) {
    PatchBox box = patch.bbox();
    return std::make_shared<const Cell>(Cell{std::move(patch), std::move(box), id});
}

// The quarters of a cell, split and boxed on first request within a level.
// The table is indexed by cell id and sized before the level starts.
const Quarters& quarters_of(const Cell& cell, std::vector<Quarters>& table, std::size_t& next_id) {
    Quarters& q = at_or_panic(table, cell.id, "quarter table");
    if (!q[0]) {
        std::array<RPatch, 4> parts = cell.patch.split4();
        for (std::size_t k = 0; k < 4; ++k) q[k] = make_cell(std::move(parts[k]), next_id++);
    }
    return q;
}

// Bytes a cell holds (its net, its box, the shared pointer's block), roughly.
// The levels live in vectors, not in GMP, so the memory budget hears of them
// from here.
std::int64_t cell_bytes(const RPatch& p) {
    std::size_t bytes = sizeof(Cell) + 64;
    for (const Row& row : p.net) {
        bytes += sizeof(Row);
        for (const Point& pt : row) bytes += sizeof(Point) + pt.size() * sizeof(Rational);
    }
    return static_cast<std::int64_t>(bytes);
}

// The levels of a call that is being stopped are freed on another thread,
// so the stop is not held up by millions of frees.
struct FreedAside {
    std::vector<CellPair>& level;
    std::vector<CellPair>& next;
    std::vector<Quarters>& table;
    ~FreedAside() {
        constexpr std::size_t worth_a_thread = 1 << 16;
        if (std::uncaught_exceptions() == 0 || level.size() + next.size() < worth_a_thread) return;
        discard_in_background(std::make_tuple(std::move(level), std::move(next), std::move(table)));
    }
};

PairBoxes row_of(const RPatch& a, const RPatch& b) { return PairBoxes{a.u0, a.u1, a.v0, a.v1, b.u0, b.u1, b.v0, b.v1}; }

}  // namespace

std::vector<PairBoxes> ssi_pairs(Net net_a, Net net_b, std::uint64_t depth, ParamRect ra, ParamRect rb) {
    RPatch a{std::move(net_a), std::move(ra.u0), std::move(ra.u1), std::move(ra.v0), std::move(ra.v1)};
    RPatch b{std::move(net_b), std::move(rb.u0), std::move(rb.u1), std::move(rb.v0), std::move(rb.v1)};
    if (depth == 0) return {row_of(a, b)};

    // Only the whole patches need the parent test: every later pair was kept
    // because its boxes meet, and those boxes are the ones stored in its cells.
    std::vector<CellPair> level;
    {
        CellPtr ca = make_cell(std::move(a), 0);
        CellPtr cb = make_cell(std::move(b), 1);
        if (boxes_disjoint(ca->box, cb->box)) return {};
        level.push_back(CellPair{std::move(ca), std::move(cb)});
    }
    std::size_t cell_count = 2;
    const std::int64_t per_cell = std::max(cell_bytes(level[0].a->patch), cell_bytes(level[0].b->patch));

    std::vector<CellPair> next;
    std::vector<Quarters> table;
    FreedAside aside{level, next, table};
    for (std::uint64_t step = 0; step < depth; ++step) {
        guard::progress("ssi_pairs", step, depth);
        table.assign(cell_count, Quarters{});
        std::size_t next_id = 0;
        for (const CellPair& pair : level) {
            const Quarters& qa = quarters_of(*pair.a, table, next_id);
            const Quarters& qb = quarters_of(*pair.b, table, next_id);
            guard::poll(16);
            if (next.size() % 4096 == 0) {
                memory::require(static_cast<std::int64_t>(next.capacity() * sizeof(CellPair)) +
                                static_cast<std::int64_t>(cell_count + next_id) * per_cell);
            }
            for (const CellPtr& s : qa) {
                for (const CellPtr& t : qb) {
                    if (!boxes_disjoint(s->box, t->box)) next.push_back(CellPair{s, t});
                }
            }
        }
        level = std::move(next);  // the parents go here
        next = {};
        table = {};
        if (level.empty()) return {};
        cell_count = next_id;
    }

    memory::require(static_cast<std::int64_t>(level.size() * sizeof(PairBoxes)) +
                    static_cast<std::int64_t>(cell_count) * per_cell);
    std::vector<PairBoxes> rows;
    rows.reserve(level.size());
    for (const CellPair& pair : level) {
        rows.push_back(row_of(pair.a->patch, pair.b->patch));
        guard::poll(8);
    }
    return rows;
}

}  // namespace corv
