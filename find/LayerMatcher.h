#pragma once

#include "psd/LayerReader.h"
#include "search/LayerNameMatch.h"

#include <QString>

#include <cstddef>
#include <string>
#include <vector>

namespace hv::find {

struct LayerMatch {
    std::size_t item = 0; // index in Document::items
    bool inText = false;  // the name did not match, the layer's text did
};

// The window's rule (LayerNameContains) applied to every item of a
// document, in layer order; with `textContent` a type layer whose name does
// not match is still a match when its text does.
class LayerMatcher {
public:
    LayerMatcher(const std::string& textUtf8, bool matchCase, bool textContent);
    std::vector<LayerMatch> matches(const psd::Document& document) const;

private:
    QString text_;
    CaseOption option_;
    bool textContent_;
};

} // namespace hv::find
