// Writing and reading the recovery copy of a plan list.
#include "RecoveryCopy.h"

#include "ColumnCatalog.h"
#include "ListLock.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

namespace {

constexpr quint32 Magic = 0x56435256, End = 0x454e4421, Version = 1;
// A copy is written this long after the first change since the last one, so that
// the write itself still ends within a second of any change.
constexpr int Delay = 500;

QByteArray encoded(const RecoveryCopy::Contents &copy)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_12);
    out << Magic << Version << copy.listPath << copy.fingerprint << copy.written
        << qint32(copy.rows.size());
    for (const RowCells &row : copy.rows) {
        int present = row.size();
        while (present > 0 && !row.at(present - 1))
            --present;
        out << qint32(present);
        for (int c = 0; c < present; ++c)
            out << bool(row.at(c)) << row.at(c).value_or(QString());
    }
    out << End;
    return bytes;
}

// A text or byte array of the copy, refused when its length runs beyond the copy's
// end: a damaged length must not make the stream ask for gigabytes.
template <class T> bool readSized(QDataStream &in, T *value)
{
    QIODevice *device = in.device();
    const qint64 at = device->pos();
    quint32 length = 0;
    in >> length;
    if (length != 0xFFFFFFFFu && length > device->size() - device->pos())
        return false;
    device->seek(at);
    in >> *value;
    return in.status() == QDataStream::Ok;
}

bool decoded(const QByteArray &bytes, RecoveryCopy::Contents *copy)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_5_12);
    quint32 magic = 0, version = 0, end = 0;
    qint32 rows = -1;
    in >> magic >> version;
    if (magic != Magic || version != Version || !readSized(in, &copy->listPath)
        || !readSized(in, &copy->fingerprint))
        return false;
    in >> copy->written >> rows;
    if (rows < 0 || rows > bytes.size())
        return false;
    copy->rows.clear();
    copy->rows.reserve(rows);
    for (int r = 0; r < rows && in.status() == QDataStream::Ok; ++r) {
        qint32 present = -1;
        in >> present;
        if (present < 0 || present > ColumnCatalog::ColumnCount)
            return false;
        RowCells row(ColumnCatalog::ColumnCount);
        for (int c = 0; c < present; ++c) {
            bool has = false;
            QString value;
            in >> has;
            if (!readSized(in, &value))
                return false;
            if (has)
                row[c] = value;
        }
        copy->rows.append(row);
    }
    in >> end;
    return in.status() == QDataStream::Ok && end == End && in.atEnd();
}

} // namespace

RecoveryCopy::RecoveryCopy(std::function<Contents()> snapshot, QObject *parent)
    : QObject(parent), snapshot(std::move(snapshot)), writer(new QObject)
{
    due.setSingleShot(true);
    due.setInterval(Delay);
    connect(&due, &QTimer::timeout, this, &RecoveryCopy::write);
    writer->moveToThread(&thread);
    connect(&thread, &QThread::finished, writer, &QObject::deleteLater);
    thread.start();
}

RecoveryCopy::~RecoveryCopy()
{
    thread.quit();
    thread.wait();
}

QString RecoveryCopy::fileFor(const QString &listPath)
{
    return ListLock::dataFileName(listPath, ".recovery");
}

RecoveryCopy::Found RecoveryCopy::read(const QString &listPath, Contents *contents)
{
    QFile file(fileFor(listPath));
    if (!file.exists())
        return Found::None;
    if (!file.open(QIODevice::ReadOnly))
        return Found::Unreadable;
    const QByteArray bytes = file.readAll();
    // A copy that names another list is none this list may take.
    return file.error() == QFileDevice::NoError && decoded(bytes, contents)
            && contents->listPath == QFileInfo(listPath).absoluteFilePath()
        ? Found::Readable
        : Found::Unreadable;
}

void RecoveryCopy::setList(const QString &listPath, bool keepUnreadable)
{
    due.stop();
    list = listPath;
    keepAside = keepUnreadable;
}

void RecoveryCopy::changed(bool modified)
{
    if (list.isEmpty())
        return;
    if (!modified)
        remove();
    else if (!due.isActive())
        due.start();
}

void RecoveryCopy::remove()
{
    due.stop();
    // An unreadable copy that was kept is not ours, and none of ours was written yet.
    if (list.isEmpty() || keepAside)
        return;
    const QString path = fileFor(list);
    const quint64 job = ++latest;
    QMetaObject::invokeMethod(writer, [this, path, job] {
        if (latest == job)
            QFile::remove(path);
    });
}

// The copy is encoded and written in the writer's thread, so that typing never waits
// for the disk. A newer write or removal makes an older one that has not begun moot.
void RecoveryCopy::write()
{
    if (list.isEmpty())
        return;
    Contents copy = snapshot();
    copy.listPath = QFileInfo(list).absoluteFilePath();
    copy.written = QDateTime::currentDateTime();
    const QString path = fileFor(list);
    if (std::exchange(keepAside, false)) {
        waitForWrites();
        QString aside = path + ".unreadable";
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = path + ".unreadable-" + QString::number(n);
        QFile::rename(path, aside);
    }
    const quint64 job = ++latest;
    QMetaObject::invokeMethod(writer, [this, path, job, copy = std::move(copy)] {
        if (latest != job)
            return;
        QDir().mkpath(QFileInfo(path).absolutePath());
        // QSaveFile commits to the disk before it replaces the previous copy.
        QSaveFile file(path);
        const QByteArray bytes = encoded(copy);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            file.commit();
    });
}

void RecoveryCopy::waitForWrites()
{
    QMetaObject::invokeMethod(writer, [] {}, Qt::BlockingQueuedConnection);
}
