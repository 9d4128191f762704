#pragma once

#include "platform/ProgressDisplay.h"

#include <QProgressBar>
#include <QTimer>

namespace hv {

// A 0..100 progress bar whose caption is a free text. The value is kept as
// set and shown rounded to the nearest whole position. The caption is also
// the bar's accessible description.
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
    void repaintCaption();
    void showCaption();

    double value_ = 0;
    QString text_;
    // A long loop may change the caption thousands of times a second; the
    // bar repaints for a new caption at most once per interval of this timer.
    QTimer captionRepaint_;
    bool captionPending_ = false;
};

} // namespace hv
