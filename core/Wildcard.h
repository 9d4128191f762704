#pragma once

#include <QString>

namespace hv {

// Whether a file name matches a wildcard pattern as directory listings match
// them on Windows: "*" stands for any run of characters, "?" for exactly one,
// letters match without regard to case, and a pattern ending in ".*" also
// matches the names that have nothing where the ".*" stands, so "*.*"
// matches every name, with or without a dot.
bool matchesWildcard(const QString& name, const QString& pattern);

} // namespace hv
