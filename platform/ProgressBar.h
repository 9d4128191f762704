#pragma once

#include "ProgressDisplay.h"

#include <QProgressBar>

namespace hv {

// A 0..100 progress bar whose caption is a free text. The value is kept as
// set and shown rounded to the nearest whole position.
class ProgressBar : public QProgressBar, public ProgressDisplay {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setValue(double value) override;
    double value() const override { return value_; }
    void setText(const QString& text) override;
    // Both the caption of the display and the text the bar draws.
    QString text() const override { return text_; }

private:
    double value_ = 0;
    QString text_;
};

} // namespace hv
