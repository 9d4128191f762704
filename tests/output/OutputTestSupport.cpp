#include "OutputTestSupport.h"

namespace hv::test {

std::unique_ptr<ListViewModel> resultsList(const std::vector<std::pair<QString, QString>>& rows, bool checked) {
    auto list = std::make_unique<ListViewModel>(true);
    list->addColumn(QStringLiteral("File"));
    list->addColumn(QStringLiteral("Layer Name"));
    for (const auto& [path, layer] : rows) {
        const int row = list->addItem(QStringList{path, layer});
        list->setChecked(row, checked);
    }
    return list;
}

} // namespace hv::test
