#pragma once

#include <QStringList>

namespace hv {

class Form1;

// Adds the paths given on the command line to the window's file list
// through the file list's drop handler, so that they land exactly as a drop
// of the same paths would: a file as it is, a folder with every file of its
// tree, in the order given. A path that does not exist is named on standard
// error and left out.
void dropOnFileList(Form1& form, const QStringList& paths);

// The file list's rows, top first.
QStringList fileListRows(Form1& form);

} // namespace hv
