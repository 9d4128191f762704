#include "IsInstalled.h"

#include "platform/MessageBox.h"
#include "platform/PhotoshopLink.h"

#include <exception>

namespace hv {

void CheckPhotoshopInstalled(PhotoshopLink& link, MessageBox& messages, const QString& appTitle) {
    std::unique_ptr<PhotoshopApplication> application;
    try {
        application = link.create();
    } catch (const std::exception&) {
        application.reset();
    }
    try {
        if (!application) {
            messages.show(notice(
                QStringLiteral(
                    "Photoshop is not installed on this computer. You need to have it installed to use this software "
                    "without error. Unfortunately due to changes made by Adobe, this software does not work with "
                    "Photoshop CC"),
                appTitle));
            return;
        }
        application->quit();
    } catch (const std::exception&) {
        // Every failure of the check is ignored.
    }
}

} // namespace hv
