#pragma once

#include "platform/DocumentFacts.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace hv {

// What a results row knows of its layer and document beyond its cells.
struct RowFacts {
    DocumentFacts document;
    LayerFacts layer;

    bool operator==(const RowFacts&) const = default;
};

// The facts of many rows, each distinct value kept once: the rows of one
// group of one kind in documents of one size share an entry, so a long list
// pays a number per row and an entry per distinct value.
class RowFactsTable {
public:
    // The entry holding `facts`, added when none does yet. Entries count
    // from 1, so that 0 can stand for "no facts".
    std::uint32_t add(const RowFacts& facts);
    // The facts of an entry `add` returned.
    const RowFacts& at(std::uint32_t entry) const { return entries_[entry - 1]; }
    std::size_t size() const { return entries_.size(); }
    void clear();

private:
    std::vector<RowFacts> entries_;
    std::unordered_multimap<std::size_t, std::uint32_t> byHash_;
};

} // namespace hv
