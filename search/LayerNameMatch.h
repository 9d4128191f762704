#pragma once

#include <QString>
#include <QStringView>

namespace hv {

// Which of the two case options is selected. With neither, no layer is
// compared.
enum class CaseOption { MatchCase, IgnoreCase, Neither };

// Whether the layer name `name` contains `searchText`:
// - an empty name contains nothing, not even an empty search text;
// - an empty search text is contained in every name that is not empty;
// - MatchCase compares code by code with case kept;
// - IgnoreCase lower-cases both sides with Unicode case mapping first;
// - Neither never matches.
bool LayerNameContains(QStringView name, QStringView searchText, CaseOption option);
inline bool LayerNameContains(const QString& name, const QString& searchText, CaseOption option) {
    return LayerNameContains(QStringView(name), QStringView(searchText), option);
}

} // namespace hv
