#pragma once

class QWidget;

namespace hv {

// Converts twips (1/1440 inch; 15 twips a pixel at 96 dpi) to device
// independent pixels, scaled with the screen's logical resolution.
int twipsToPixels(int twips, const QWidget* widget = nullptr);

} // namespace hv
