#pragma once

namespace hv {

class MessageBox;
class PhotoshopLink;

// Creates the document link once and tells it to quit; when it cannot be
// created, tells the user. Never fails.
void CheckPhotoshopInstalled(PhotoshopLink& link, MessageBox& messages);

} // namespace hv
