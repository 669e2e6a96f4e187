// The lock of a plan list: the office lock file in the convention of office
// suites, and the session lock of the running window that has the list open.
#include "ListLock.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QSysInfo>
#include <QUrl>

namespace {

const QString TimeFormat = QStringLiteral("dd.MM.yyyy hh:mm");
// The user's name, the system user, the host, the time and the program's settings location.
constexpr int FieldCount = 5;
constexpr qint64 LockReadLimit = 64 * 1024;

QString systemUser()
{
    for (const char *name : {"USER", "USERNAME"}) {
        const QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
    return QFileInfo(QDir::homePath()).owner();
}

QString escaped(QString field)
{
    return field.replace('\\', "\\\\").replace(',', "\\,").replace(';', "\\;");
}

// Qt knows no full name of the user, so the system user stands for it as well.
QByteArray ourLockLine()
{
    const QString user = escaped(systemUser()),
                  settingsFolder =
                      QFileInfo(QSettings("Quellor", "VorlanCSV").fileName()).absolutePath();
    const QStringList fields = {
        user, user, escaped(QSysInfo::machineHostName()),
        QDateTime::currentDateTime().toString(TimeFormat),
        escaped(QString::fromUtf8(QUrl::fromLocalFile(settingsFolder).toEncoded()))};
    return (fields.join(',') + ';').toUtf8();
}

// The fields of the lock's first entry, unescaped; none unless it is a whole entry.
QStringList parsedFields(const QString &text)
{
    QStringList fields(QString {});
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '\\' && i + 1 < text.size())
            fields.last() += text.at(++i);
        else if (c == ',')
            fields.append(QString());
        else if (c == ';')
            return fields.size() == FieldCount ? fields : QStringList();
        else
            fields.last() += c;
    }
    return {};
}

std::unique_ptr<QLockFile> sessionLockOf(const QString &listPath)
{
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    auto lock = std::make_unique<QLockFile>(ListLock::dataFileName(listPath, ".lock"));
    lock->setStaleLockTime(0); // stale only when the process that took it has ended
    return lock;
}

} // namespace

ListLock::ListLock(const QString &listPath)
    : path(QFileInfo(listPath).absoluteFilePath()),
      officeLockPath(QFileInfo(path).absolutePath() + "/.~lock." + QFileInfo(path).fileName()
                     + '#'),
      session(sessionLockOf(listPath))
{
    session->tryLock(0);
}

ListLock::~ListLock()
{
    QFile file(officeLockPath);
    if (!ourLine.isEmpty() && file.open(QIODevice::ReadOnly)
        && file.read(ourLine.size() + 1) == ourLine) {
        file.close();
        file.remove();
    }
}

bool ListLock::isFor(const QString &listPath) const
{
    return QFileInfo(listPath).absoluteFilePath() == path;
}

bool ListLock::holdsSession() const
{
    return session->isLocked();
}

std::optional<ListLock::Holder> ListLock::otherHolder() const
{
    const QFileInfo lock(officeLockPath);
    if (!lock.exists())
        return std::nullopt;
    QFile file(officeLockPath);
    const QStringList fields = file.open(QIODevice::ReadOnly)
        ? parsedFields(QString::fromUtf8(file.read(LockReadLimit)))
        : QStringList();
    // Ours as we write it: a spreadsheet program of the same user leaves the name empty
    // or gives the full name.
    if (!fields.isEmpty() && fields[0] == systemUser() && fields[1] == systemUser()
        && fields[2] == QSysInfo::machineHostName() && holdsSession())
        return std::nullopt;
    // An unreadable or broken lock is never taken over: it is named by what it shows.
    Holder holder {"einem unbekannten Benutzer", lock.lastModified().toString(TimeFormat)};
    if (fields.isEmpty())
        return holder;
    const QString name = fields[0].isEmpty() ? fields[1] : fields[0];
    if (!name.isEmpty())
        holder.name = name;
    if (QDateTime::fromString(fields[3], TimeFormat).isValid())
        holder.since = fields[3];
    return holder;
}

void ListLock::lockForOthers()
{
    if (!QFileInfo(path).isFile() || otherHolder())
        return;
    if (QFileInfo::exists(officeLockPath)) // ours, left by a crash
        QFile::remove(officeLockPath);
    const QByteArray line = ourLockLine();
    QFile file(officeLockPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    if (file.write(line) == line.size() && file.flush()) {
        ourLine = line;
        return;
    }
    file.close();
    file.remove();
}

QString ListLock::dataFileName(const QString &listPath, const QString &suffix)
{
    const QByteArray key = QCryptographicHash::hash(QFileInfo(listPath).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha1);
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + '/'
        + QString::fromLatin1(key.toHex()) + suffix;
}

// Also true when it cannot be told, for want of a data folder.
bool ListLock::heldByRunningWindow(const QString &listPath)
{
    return !sessionLockOf(listPath)->tryLock(0);
}
