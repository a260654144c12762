#pragma once
// The built program as a separate process, for the tests that start it for real.
#include <QLocalSocket>
#include <QString>
#include <QtGlobal>

// The program of this build (ctest sets ZARIDI_BIN_DIR to the build's bin folder).
inline QString ProgramPath() {
    return QString::fromLocal8Bit(qgetenv("ZARIDI_BIN_DIR")) + QStringLiteral("/tavo_Zaridi2");
}

// Whether a running copy answers on the single-instance channel `name`.
inline bool Listening(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool up = probe.waitForConnected(200);
    probe.abort();
    return up;
}
