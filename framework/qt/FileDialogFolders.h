#pragma once

#include <QString>

struct FileDialogRequest;

// The folder each kind of file dialog last chose a file in, kept in the
// settings from one run to the next. A kind is the dialog's purpose (open
// or save) and the extension of its files, so Open and Save As of
// colormaps and each palette import and export remember a folder of
// their own.
namespace FileDialogFolders {

// Where the dialog of `request`'s kind last chose a file; empty when it
// never did or that folder is gone.
QString Remembered(const FileDialogRequest& request);
// The dialog of `request`'s kind chose `path`.
void Remember(const FileDialogRequest& request, const QString& path);

} // namespace FileDialogFolders
