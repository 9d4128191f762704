#include "LayerNameMatch.h"

namespace hv {

bool LayerNameContains(const QString& name, const QString& searchText, CaseOption option) {
    if (name.isEmpty()) return false;
    switch (option) {
    case CaseOption::MatchCase: return name.contains(searchText, Qt::CaseSensitive);
    case CaseOption::IgnoreCase:
        // Full lower-case mapping of both sides, then an exact comparison:
        // Qt::CaseInsensitive folds case instead, which differs for letters
        // such as the dotted capital I.
        return name.toLower().contains(searchText.toLower(), Qt::CaseSensitive);
    case CaseOption::Neither: return false;
    }
    return false;
}

} // namespace hv
