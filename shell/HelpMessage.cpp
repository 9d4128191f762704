#include "HelpMessage.h"

#include "core/BuildInfo.h"
#include "core/ErrorTrap.h"
#include "platform/MessageBox.h"

namespace hv {

namespace {

// Statement number of "Help".
namespace line {
constexpr int kShow = 100;
} // namespace line

} // namespace

HelpMessage::HelpMessage(MessageBox& messages, QString appTitle)
    : messages_(messages),
      appTitle_(std::move(appTitle)) {}

void HelpMessage::run(ErrorTrap& trap) {
    trap(line::kShow, [&] {
        messages_.show(
            notice(QStringLiteral("Questions? Please contact Team Trellwick at ") + contactPage(), appTitle_));
    });
}

} // namespace hv
