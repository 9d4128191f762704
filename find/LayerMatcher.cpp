#include "LayerMatcher.h"

namespace hv::find {

LayerMatcher::LayerMatcher(const std::string& textUtf8, bool matchCase, bool textContent)
    : text_(QString::fromUtf8(textUtf8.data(), static_cast<qsizetype>(textUtf8.size()))),
      option_(matchCase ? CaseOption::MatchCase : CaseOption::IgnoreCase),
      textContent_(textContent) {}

std::vector<LayerMatch> LayerMatcher::matches(const psd::Document& document) const {
    std::vector<LayerMatch> found;
    for (std::size_t i = 0; i < document.items.size(); ++i) {
        const psd::LayerItem& item = document.items[i];
        if (LayerNameContains(QString::fromStdU16String(item.name), text_, option_))
            found.push_back({i, false});
        else if (textContent_ && LayerNameContains(QString::fromStdU16String(item.text), text_, option_))
            found.push_back({i, true});
    }
    return found;
}

} // namespace hv::find
