#include "ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace hv {

namespace {
constexpr int kCaptionRepaintMs = 40;
} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    QProgressBar::setValue(0);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    captionRepaint_.setSingleShot(true);
    captionRepaint_.setInterval(kCaptionRepaintMs);
    connect(&captionRepaint_, &QTimer::timeout, this, &ProgressBar::repaintCaption);
}

void ProgressBar::setValue(double value) {
    value_ = value;
    const double shown = std::clamp(std::round(value), 0.0, 100.0);
    QProgressBar::setValue(static_cast<int>(shown));
}

void ProgressBar::setText(const QString& text) {
    // The caption is shown as it stands: text() is what the bar draws.
    text_ = text;
    if (captionRepaint_.isActive()) {
        captionPending_ = true;
        return;
    }
    showCaption();
    captionRepaint_.start();
}

void ProgressBar::repaintCaption() {
    if (!captionPending_) return;
    captionPending_ = false;
    showCaption();
    captionRepaint_.start();
}

void ProgressBar::showCaption() {
    update();
    // Screen readers read the caption as the bar's description.
    if (accessibleDescription() != text_) setAccessibleDescription(text_);
}

} // namespace hv
