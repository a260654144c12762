#pragma once
// The boundary between Qt's UTF-16 and the rules' CP932 bytes.
#include <QString>
#include <string>

std::string ToCp932(const QString& text);
QString FromCp932(const std::string& bytes);

// A path as the file system spells it (the locale's encoding), for the rules' file functions.
std::string NativePath(const QString& path);

// The program's own Japanese texts, written in UTF-8 source, and UTF-8 the rules hand over.
inline QString QFromUtf8(const char* utf8) {
    return QString::fromUtf8(utf8);
}
inline QString QFromUtf8(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
