#pragma once

#include "platform/DesktopShell.h"
#include "platform/PhotoshopLink.h"

#include "psd/ReadAhead.h"

#include <cstddef>

namespace hv {

// The document link on Linux. There is no Photoshop to automate: documents
// are read by the PSD/PSB layer reader (psd/), so creating the application
// always succeeds and quitting only releases it. Showing a document to the
// user hands it to the desktop, which opens it in the user's image editor.
//
// Once told which documents are coming (expect()), the application reads up
// to K of them ahead on worker threads (psd::ReadAhead); open() takes the
// finished read of that path, or reads it there and then when it was not
// announced. K = 1 reads only the document being waited for.
class NativePhotoshopLink final : public PhotoshopLink {
public:
    // K when the policy names none.
    static constexpr std::size_t defaultReadAhead = psd::ReadAhead::defaultReadsInFlight;

    // How far to read ahead (read once when the program starts) and the
    // reader; none stands for the layer reader, which tells the read-ahead
    // of its memory as it goes.
    explicit NativePhotoshopLink(DesktopShell& shell, psd::ReadAheadPolicy readAhead = {},
                                 psd::ReadAhead::Reader reader = {});
    // A chosen K with the default byte budget.
    NativePhotoshopLink(DesktopShell& shell, std::size_t readAhead, psd::ReadAhead::Reader reader = {});
    // A reader that tells the read-ahead of its memory itself (the layer
    // reader behind the layer cache).
    NativePhotoshopLink(DesktopShell& shell, psd::ReadAheadPolicy readAhead, psd::ReadAhead::MeteredReader reader);

    std::unique_ptr<PhotoshopApplication> create() override;

private:
    DesktopShell& shell_;
    psd::ReadAheadPolicy readAhead_;
    psd::ReadAhead::Reader reader_;
    psd::ReadAhead::MeteredReader metered_;
};

} // namespace hv
