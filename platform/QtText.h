#pragma once
// The boundary between Qt's UTF-16 and the rules' CP932 bytes.
#include <QString>
#include <string>

std::string ToCp932(const QString& text);
QString FromCp932(const std::string& bytes);
