#include "BuildInfo.h"

namespace hv {

QString productName() {
    return QStringLiteral("Halvorine");
}
QString supportEmail() {
    return QStringLiteral(HALVORINE_SUPPORT_EMAIL);
}
QString homePage() {
    return QStringLiteral(HALVORINE_HOME_PAGE);
}

QString contactPage() {
    QString site = QStringLiteral(HALVORINE_CONTACT_SITE);
    while (site.endsWith(QLatin1Char('/'))) site.chop(1);
    return site + QStringLiteral("/contact/");
}

} // namespace hv
