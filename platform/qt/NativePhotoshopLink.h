#pragma once

#include "platform/DesktopShell.h"
#include "platform/PhotoshopLink.h"

namespace hv {

// The document link on Linux. There is no Photoshop to automate: documents
// are read by the PSD/PSB layer reader (psd/), so creating the application
// always succeeds and quitting only releases it. A document that is released
// without being closed stays "open for the user": it is handed to the
// desktop, which shows it in the user's image editor.
class NativePhotoshopLink final : public PhotoshopLink {
public:
    explicit NativePhotoshopLink(DesktopShell& shell);
    std::unique_ptr<PhotoshopApplication> create() override;

private:
    DesktopShell& shell_;
};

} // namespace hv
