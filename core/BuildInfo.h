#pragma once

#include <QString>

namespace hv {

// Constants fixed when the program is built.
QString productName();  // "Halvorine"
QString supportEmail(); // named in the error report
QString homePage();     // the maker's home page
QString contactPage();  // the maker's contact page, ending in "/contact/"

// Procedure paths of the error report: tag, build date, module, procedure.
inline constexpr const char* kProjectTag = "Velquist";
inline constexpr const char* kScanTag = "Quorlane";
inline constexpr const char* kBuildDate = "2021/08/31";

} // namespace hv
