#include "RowFacts.h"

#include <QHashFunctions>

namespace hv {

namespace {

std::size_t hashOf(const RowFacts& facts) {
    const DocumentFacts& d = facts.document;
    const LayerFacts& l = facts.layer;
    return qHashMulti(0, d.width, d.height, d.depth, d.colourMode, l.groupPath, l.kind, l.visible.has_value(),
                      l.visible.value_or(false));
}

} // namespace

std::uint32_t RowFactsTable::add(const RowFacts& facts) {
    const std::size_t hash = hashOf(facts);
    const auto [first, last] = byHash_.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (at(it->second) == facts) return it->second;
    entries_.push_back(facts);
    const auto entry = static_cast<std::uint32_t>(entries_.size());
    byHash_.emplace(hash, entry);
    return entry;
}

void RowFactsTable::clear() {
    entries_ = {};
    byHash_ = {};
}

} // namespace hv
