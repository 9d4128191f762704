#pragma once

#include "platform/DesktopShell.h"
#include "platform/PhotoshopLink.h"

#include "psd/ReadAhead.h"

#include <cstddef>

namespace hv {

// The document link on Linux. There is no Photoshop to automate: documents
// are read by the PSD/PSB layer reader (psd/), so creating the application
// always succeeds and quitting only releases it. A document that is released
// without being closed stays "open for the user": it is handed to the
// desktop, which shows it in the user's image editor.
//
// Once told which documents are coming (expect()), the application reads up
// to K of them ahead on worker threads (psd::ReadAhead); open() takes the
// finished read of that path, or reads it there and then when it was not
// announced. K = 1 reads only the document being waited for.
class NativePhotoshopLink final : public PhotoshopLink {
public:
    // K when HALVORINE_READ_AHEAD does not name one.
    static constexpr std::size_t defaultReadAhead = psd::ReadAhead::defaultReadsInFlight;

    // K from the environment (readAheadFromEnvironment()), reading through
    // the user's layer cache (cache::withUserCache()).
    explicit NativePhotoshopLink(DesktopShell& shell);
    // A chosen K (clamped to 1..psd::ReadAhead::maxReadsInFlight) and reader.
    NativePhotoshopLink(DesktopShell& shell, std::size_t readAhead,
                        psd::ReadAhead::Reader reader = psd::ReadAhead::layerReader());

    std::unique_ptr<PhotoshopApplication> create() override;

    // HALVORINE_READ_AHEAD when it holds a whole number from 1 on (at most
    // psd::ReadAhead::maxReadsInFlight), else defaultReadAhead.
    static std::size_t readAheadFromEnvironment();

private:
    DesktopShell& shell_;
    std::size_t readAhead_;
    psd::ReadAhead::Reader reader_;
};

} // namespace hv
