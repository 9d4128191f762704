#include "OpenSelectedResult.h"

#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/Failure.h"
#include "platform/PhotoshopLink.h"

#include <memory>

namespace hv {

namespace {

// Statement numbers of "Open Selected File".
namespace line {
constexpr int kCountRows = 100;
constexpr int kReadPath = 102;
constexpr int kCreateApplication = 104;
constexpr int kOpen = 106;
} // namespace line

} // namespace

OpenSelectedResult::OpenSelectedResult(PhotoshopLink& link, const ListViewModel& results, int selectedRow)
    : link_(link),
      results_(results),
      selectedRow_(selectedRow) {}

void OpenSelectedResult::run(ErrorTrap& trap) {
    int rows = 0;
    trap(line::kCountRows, [&] { rows = results_.itemCount(); });
    if (rows == 0) return;

    // The "File" cell of the selected row; with no row selected this fails
    // and the empty path is then tried, and fails, too.
    QString path;
    trap(line::kReadPath, [&] { path = results_.itemText(selectedRow_, 1); });

    std::unique_ptr<PhotoshopApplication> application;
    trap(line::kCreateApplication, [&] { application = link_.create(); });

    // Shown to the user and left open there; the handler only releases it.
    trap(line::kOpen, [&] {
        if (!application) throw Failure(QStringLiteral("The document reader is not available"));
        application->open(path)->showToUser();
    });
}

} // namespace hv
