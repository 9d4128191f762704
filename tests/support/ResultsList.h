#pragma once

#include "core/ListViewModel.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

namespace hv::test {

// A results list with the columns "File" and "Layer Name"; each row is
// {path, layer name} and starts unchecked unless `checked` says otherwise.
inline std::unique_ptr<ListViewModel> resultsList(const std::vector<std::pair<QString, QString>>& rows,
                                                  bool checked = false) {
    auto list = std::make_unique<ListViewModel>(true);
    list->addColumn(QStringLiteral("File"));
    list->addColumn(QStringLiteral("Layer Name"));
    for (const auto& [path, layer] : rows) list->setChecked(list->addItem(QStringList{path, layer}), checked);
    return list;
}

} // namespace hv::test
