#pragma once

#include "platform/MessageBox.h"

namespace hv {

// Message boxes for a run without a window: each message is written to
// standard error, a question is answered No and a notice OK, and nothing
// waits for a person.
class ConsoleMessages : public MessageBox {
public:
    MessageAnswer show(const Message& message) override;
};

} // namespace hv
