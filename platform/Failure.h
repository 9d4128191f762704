#pragma once

#include <QString>

#include <stdexcept>

namespace hv {

// A run-time failure raised by a platform operation or by a handler's own
// statement. The error trap of the calling handler catches it, shows the error
// report with its description and resumes with the next statement.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()),
          description_(description) {}
    const QString& description() const { return description_; }

private:
    QString description_;
};

} // namespace hv
