// Who has a plan list open: the office lock file beside the list, which
// spreadsheet programs read and write as well, and a session lock in the
// user's data folder that every running window of ours holds for its list.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

class ListLock
{
public:
    // Whoever the office lock names, as the question to open shows it.
    struct Holder
    {
        QString name, since;
    };

    // Takes the session lock of the list at once when no running window of ours holds it.
    explicit ListLock(const QString &listPath);
    ~ListLock(); // removes the office lock if it is still ours, and the session lock
    ListLock(const ListLock &) = delete;
    ListLock &operator=(const ListLock &) = delete;

    bool isFor(const QString &listPath) const;
    bool holdsSession() const;
    // Someone else's office lock; none when the list is free, or when the lock is one of
    // ours that no running window holds (left by a crash).
    std::optional<Holder> otherHolder() const;
    // Writes our office lock beside the list unless someone else's is there; in a folder
    // that takes no new files the list stays without one.
    void lockForOthers();

    // The file of the list's own in the data folder: its name comes from the list's path.
    static QString dataFileName(const QString &listPath, const QString &suffix);
    // Whether a running window of ours, this one included, has the list open.
    static bool heldByRunningWindow(const QString &listPath);

private:
    QString path, officeLockPath;
    QByteArray ourLine; // empty while the office lock is not ours
    std::unique_ptr<QLockFile> session;
};
