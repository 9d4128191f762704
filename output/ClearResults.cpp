#include "ClearResults.h"

#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"

namespace hv {

namespace {

// Statement number of "Clear Results".
namespace line {
constexpr int kClear = 100;
} // namespace line

} // namespace

void ClearResults::run(ErrorTrap& trap) {
    trap(line::kClear, [&] { results_.clearItems(); });
}

} // namespace hv
