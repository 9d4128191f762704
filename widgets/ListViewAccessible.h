#pragma once

namespace hv {

// Lets screen readers read every ListView as a table: a header cell per
// column, then the rows' cells; a row's check box is the checkable state of
// its first cell, whose toggle action ticks or clears it. Installed once for
// the program by the first list made.
void installListViewAccessible();

} // namespace hv
