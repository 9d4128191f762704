#pragma once

#include <string>
#include <string_view>

namespace hv::console {

// The text, with TAB, LF and CR as \t, \n and \r and other control
// characters as \xNN, so that a message stays on one line.
std::string escapeControls(std::string_view text);

// As escapeControls, and a backslash as \\, so that the escaped form is
// never ambiguous: a name holding a TAB and one holding "\t" print apart.
// For the fields of a line a reader may want to take apart again. A byte
// that is not part of a UTF-8 character (a file name in another encoding)
// is written as \xNN too, which stays apart from a written "\xNN" (\\xNN).
std::string escapeField(std::string_view text);

// Only the bytes outside any UTF-8 character, as \xNN: a path as it goes
// into the formats that escape their fields themselves, and error lines.
std::string escapeStrayBytes(std::string_view text);

} // namespace hv::console
