#include "OpenSelectedResult.h"

#include "core/ErrorTrap.h"
#include "platform/Failure.h"
#include "widgets/ListView.h"
#include "platform/PhotoshopLink.h"

#include <memory>

namespace hv {

OpenSelectedResult::OpenSelectedResult(MessageBox& messages, PhotoshopLink& link, const ListView& results)
    : messages_(messages),
      link_(link),
      results_(results) {}

void OpenSelectedResult::run() {
    ErrorTrap trap(messages_, QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));

    int rows = 0;
    trap(100, [&] { rows = results_.items().itemCount(); });
    if (rows == 0) return;

    // The "File" cell of the selected row; with no row selected this fails
    // and the empty path is then tried, and fails, too.
    QString path;
    trap(102, [&] { path = results_.items().itemText(results_.selectedIndex(), 1); });

    std::unique_ptr<PhotoshopApplication> application;
    trap(104, [&] { application = link_.create(); });

    // Released without being closed at the end of the handler: the document
    // stays open for the user.
    std::unique_ptr<PhotoshopDocument> document;
    trap(106, [&] {
        if (!application) throw Failure(QStringLiteral("The document reader is not available"));
        document = application->open(path);
    });
}

} // namespace hv
