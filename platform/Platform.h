#pragma once

namespace hv {

class AppExit;
class Clipboard;
class DesktopShell;
class DocumentThumbnails;
class EventPump;
class FileDialogs;
class FileSystem;
class FolderBrowser;
class InputBox;
class MessageBox;
class PhotoshopLink;
class SettingsStore;
class SpreadsheetLink;

// Everything the program reaches outside itself. The desktop build fills it
// with the Qt implementations, the tests with recording fakes.
struct Platform {
    MessageBox& messages;
    InputBox& input;
    FileDialogs& fileDialogs;
    FolderBrowser& folderBrowser;
    Clipboard& clipboard;
    SettingsStore& settings;
    DesktopShell& desktop;
    FileSystem& fileSystem;
    PhotoshopLink& photoshop;
    SpreadsheetLink& spreadsheet;
    EventPump& events;
    AppExit& appExit;
    DocumentThumbnails& thumbnails;
};

} // namespace hv
