#include "rs_entry/ssi_entry.h"

#include <string>
#include <utility>

#include "core/panic.h"
#include "rs_entry/number_text.h"
#include "ssi/ssi_pairs.h"

namespace corv::rs_entry {
namespace {

ParamRect parse_rect(const std::optional<Texts>& texts, const char* name) {
    if (!texts) return ParamRect{};
    if (texts->size() < 4) {
        throw Panic(PanicKind::bad_shape,
                    std::string(name) + " needs 4 entries (u0, u1, v0, v1), got " + std::to_string(texts->size()));
    }
    return ParamRect{parse_r((*texts)[0]), parse_r((*texts)[1]), parse_r((*texts)[2]), parse_r((*texts)[3])};
}

}  // namespace

Net parse_net(const TextNet& texts) {
    Net net;
    net.reserve(texts.size());
    for (const TextRows& row_texts : texts) {
        Row row;
        row.reserve(row_texts.size());
        for (const Texts& point_texts : row_texts) row.push_back(parse_all(point_texts));
        net.push_back(std::move(row));
    }
    return net;
}

std::vector<PairRow> ssi_pairs(const TextNet& net_a, const TextNet& net_b, std::uint64_t depth,
                               const std::optional<Texts>& a_box, const std::optional<Texts>& b_box) {
    ParamRect ra = parse_rect(a_box, "a_box");
    ParamRect rb = parse_rect(b_box, "b_box");
    Net a = parse_net(net_a);
    Net b = parse_net(net_b);
    std::vector<PairBoxes> pairs = corv::ssi_pairs(std::move(a), std::move(b), depth, std::move(ra), std::move(rb));
    std::vector<PairRow> rows;
    rows.reserve(pairs.size());
    for (const PairBoxes& p : pairs) {
        rows.push_back(PairRow{p[0].text(), p[1].text(), p[2].text(), p[3].text(), p[4].text(), p[5].text(),
                               p[6].text(), p[7].text()});
    }
    return rows;
}

}  // namespace corv::rs_entry
