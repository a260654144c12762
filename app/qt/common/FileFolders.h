#pragma once
// Where the program's file dialogs open and where it saves what it makes for the user: the user's
// documents folder the first time, then the folder each dialog was last used in (kept in the settings
// file of the working folder).
#include "app/DialogFolders.h"

#include <QString>

#include <string>

// The user's documents folder, made when it is missing; the home folder when it cannot be.
QString DocumentsFolder();

// The folder the dialog was last used in while it still exists, else the documents folder.
QString DialogStartFolder(const std::string& workingDir, FileDialogKind dialog);

// Keeps `folder` for the dialog's next opening. A settings file that cannot be written loses only this
// memory: the error box says so and the caller goes on.
void RememberDialogFolder(const std::string& workingDir, FileDialogKind dialog, const QString& folder);
