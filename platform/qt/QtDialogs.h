#pragma once

#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"

#include <QPointer>
#include <QWidget>

namespace hv {

// Turns "Description (*.ext)|*.ext|..." filters into the Qt form
// "Description (*.ext);;...".
QString qtFilterFromPipes(const QString& filter);

// The Qt dialogs, owned by the main window once it exists.
class QtDialogs : public MessageBox, public InputBox, public FileDialogs, public FolderBrowser {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer show(const Message& message) override;
    QString ask(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    QStringList openFiles(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;
    QString browse(const QString& prompt, const QString& startFolder) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace hv
