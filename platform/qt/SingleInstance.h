#pragma once
// One running instance per user and desktop, keyed on the application title. A second start asks the
// first to come forward and leaves.
#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first and now answers later starts; false when another instance
    // runs (it has been sent "raise").
    bool Claim();

    // The local socket's name: the title, the user and the desktop, hashed to a safe file name, in a
    // folder only this user can write to; empty when there is no such folder (no guard then).
    const QString& ServerName() const { return name_; }

signals:
    void raiseRequested();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};
