#include "AppTitleRule.h"

namespace hv {

QString shortAppTitle(const QString& productName) {
    constexpr qsizetype kMaxLength = 40;
    QString title = productName;
    bool first = true;
    while (first || title.size() > kMaxLength) {
        first = false;
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0) break;
        title.truncate(blank);
    }
    return title;
}

} // namespace hv
