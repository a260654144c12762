#include "app/qt/common/FileFolders.h"

#include "app/MainSettings.h"
#include "app/qt/common/ErrorBox.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents)) return documents;
    return QDir::homePath();
}

QString DialogStartFolder(const std::string& workingDir, FileDialogKind dialog) {
    const QString last = FromCp932(ReadDialogFolder(ProfileFile(SettingsFilePath(workingDir)), dialog));
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    return DocumentsFolder();
}

void RememberDialogFolder(const std::string& workingDir, FileDialogKind dialog, const QString& folder) {
    Guarded([&] {
        ProfileFile settings(SettingsFilePath(workingDir));
        if (FromCp932(ReadDialogFolder(settings, dialog)) == folder) return;
        WriteDialogFolder(settings, dialog, ToCp932(folder));
        settings.Save();
    });
}
