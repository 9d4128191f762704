#pragma once

namespace hv {

class ListView;
class MessageBox;
class PhotoshopLink;

// "Open Selected File": opens the document of the selected result row
// through the document link and leaves it open for the user. With no result
// rows it does nothing. Failures are reported through the error trap of
// Form1.PushButton3_Click, and the handler goes on with the next statement.
class OpenSelectedResult {
public:
    OpenSelectedResult(MessageBox& messages, PhotoshopLink& link, const ListView& results);

    void run();

private:
    MessageBox& messages_;
    PhotoshopLink& link_;
    const ListView& results_;
};

} // namespace hv
