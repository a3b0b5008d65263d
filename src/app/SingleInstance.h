#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace veritam {

/// One running copy of the program per data folder: a lock file in the folder, held while
/// the program runs (a lock left by a killed process does not block), and a local socket
/// through which a later start hands its wish to the running window.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    /// What a later start asks of the running window.
    enum class Request { Show, CheckAll };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// Takes the folder's lock. False only when another running copy holds it: a lock that
    /// cannot be written (a full or read-only disk) guards nothing but blocks nothing either;
    /// the work then meets the disk's trouble itself and reports it.
    bool tryLock();
    /// Passes a request to the copy that holds the lock; false when none listens.
    bool hand(Request request) const;
    /// Listens for the requests of later starts (the window's copy only).
    void listen();

    /// What a start that finds the folder held by a copy without a window is told.
    static QString busyText();

signals:
    void requested(veritam::SingleInstance::Request request);

private:
    QString m_dataFolder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace veritam
