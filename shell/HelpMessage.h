#pragma once

#include <QString>

namespace hv {

class ErrorTrap;
class MessageBox;

// "Help": names the maker's contact page in a notice under the application
// title, as a statement of the caller's error trap.
class HelpMessage {
public:
    HelpMessage(MessageBox& messages, QString appTitle);

    void run(ErrorTrap& trap);

private:
    MessageBox& messages_;
    QString appTitle_;
};

} // namespace hv
