#pragma once
// The folder each file dialog of the program opened in last, kept in the settings file: one entry per
// dialog, so that choosing an order file does not move where the shipped list is saved.
#include <string>

class ProfileFile;

enum class FileDialogKind {
    OrderFile,   // F8: the order file to import
    ShippedList, // the history's shipped list
};

// The section and key of a dialog's folder. The order file's is where earlier versions kept it.
struct DialogFolderKey {
    const char* section;
    const char* key;
};
DialogFolderKey FolderKeyOf(FileDialogKind dialog);

// The folder as stored (a CP932 path; "" when none is).
std::string ReadDialogFolder(const ProfileFile& settings, FileDialogKind dialog);
void WriteDialogFolder(ProfileFile& settings, FileDialogKind dialog, const std::string& folder);
