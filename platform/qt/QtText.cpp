#include "platform/qt/QtText.h"

#include "platform/Cp932Codec.h"

#include <QFile>

std::string ToCp932(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    return cp932::FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString FromCp932(const std::string& bytes) {
    std::string utf8 = cp932::ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
