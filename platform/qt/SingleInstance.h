#pragma once
// One running instance per user and desktop, keyed on the application title. A second start asks the
// first to come forward and leaves, handing over the Wayland activation token it was started with.
#include <QObject>
#include <QString>

class QSocketNotifier;
class QWidget;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first and now answers later starts; false when another instance
    // runs (it has been sent "raise", with this process's XDG_ACTIVATION_TOKEN when there is one).
    bool Claim();

    // The local socket's name: the title, the user and the desktop, hashed to a safe file name, in a
    // folder only this user can write to; empty when there is no such folder (no guard then).
    const QString& ServerName() const { return name_; }

    // The message a later start sends: "raise", then the token on a line of its own when there is one.
    // Older programs look for "raise" anywhere in what they receive and still understand it.
    static QByteArray RaiseMessage(const QString& activationToken);
    static QString TokenOf(const QByteArray& message);

signals:
    // activationToken is empty when the later start had none (X11, a terminal, an older program).
    void raiseRequested(const QString& activationToken);

private:
    void AcceptLaterStarts();

    QString name_;
    int listener_ = -1; // the socket later starts connect to; -1 while this process does not answer
    QSocketNotifier* accepting_ = nullptr;
    quint64 socketDevice_ = 0, socketInode_ = 0; // the socket file this process made, to remove at the end
};

// Brings the window forward for a later start. A Wayland compositor lets a window take the focus only
// with the token of the launch that asked for it; Qt's xdg-shell reads it from XDG_ACTIVATION_TOKEN when
// the window requests activation. Under X11 the token is empty and the window is raised as before.
void ComeForward(QWidget& window, const QString& activationToken);
