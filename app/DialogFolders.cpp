#include "app/DialogFolders.h"

#include "platform/ProfileFile.h"

DialogFolderKey FolderKeyOf(FileDialogKind dialog) {
    switch (dialog) {
    case FileDialogKind::OrderFile:
        return {"OrderQueue", "Folder"};
    case FileDialogKind::ShippedList:
        return {"ShippedList", "Folder"};
    }
    return {"Folders", "Other"};
}

std::string ReadDialogFolder(const ProfileFile& settings, FileDialogKind dialog) {
    const DialogFolderKey k = FolderKeyOf(dialog);
    return settings.ReadString(k.section, k.key, "");
}

void WriteDialogFolder(ProfileFile& settings, FileDialogKind dialog, const std::string& folder) {
    const DialogFolderKey k = FolderKeyOf(dialog);
    settings.WriteString(k.section, k.key, folder);
}
