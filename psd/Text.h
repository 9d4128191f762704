#pragma once

#include <string>
#include <string_view>

namespace hv::psd {

// Decodes a layer's Pascal (legacy) name. Writers store it in whatever 8-bit
// encoding they use: UTF-8 from GIMP and other newer programs, the system's
// ANSI code page from Photoshop. Valid UTF-8 is taken as UTF-8, anything else
// as Windows-1252.
std::u16string decodePascalName(std::string_view bytes);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

} // namespace hv::psd
