#pragma once
// The application title: names the running instance and heads every message box.
#include <QString>

inline QString AppTitle() {
    return QString::fromUtf8("◇tavo_Zaridi2");
}
