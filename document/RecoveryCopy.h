// The recovery copy of a plan list: the table as it stands, kept in the user's data
// folder while it has changes not yet saved, so that a crash loses at most the last
// second of work. It is written in the background and replaced whole, never torn.
#pragma once

#include "PlanTable.h"

#include <QDateTime>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <functional>

class RecoveryCopy : public QObject
{
    Q_OBJECT

public:
    struct Contents
    {
        QString listPath;        // absolute
        QByteArray fingerprint;  // of the file as it was read or last written
        QDateTime written;
        QVector<RowCells> rows;
    };
    enum class Found { None, Readable, Unreadable };

    // `snapshot` gives the table as it is now, whenever a copy is due.
    explicit RecoveryCopy(std::function<Contents()> snapshot, QObject *parent = nullptr);
    ~RecoveryCopy() override; // waits for the writes under way

    static QString fileFor(const QString &listPath);
    static Found read(const QString &listPath, Contents *contents);

    // The list whose copy is recorded; empty while none is. An unreadable copy kept for
    // the user is moved aside as the first new one is written.
    void setList(const QString &listPath, bool keepUnreadable = false);
    // The table changed: a copy follows within a second, or none when `modified` is false
    // and the copy goes.
    void changed(bool modified);
    void remove();
    void waitForWrites();

private:
    void write();

    std::function<Contents()> snapshot;
    QString list;
    bool keepAside = false;
    QTimer due;
    QThread thread;
    QObject *writer; // lives in `thread`, where every write and removal runs in turn
    std::atomic<quint64> latest {0};
};
