#pragma once

class QString;

namespace hv {

class MessageBox;
class PhotoshopLink;

// Creates the document link once and tells it to quit; when it cannot be
// created, tells the user under the application title. Never fails.
void CheckPhotoshopInstalled(PhotoshopLink& link, MessageBox& messages, const QString& appTitle);

} // namespace hv
