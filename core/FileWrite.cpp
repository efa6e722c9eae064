#include "core/FileWrite.h"

#include <QFile>
#include <QSaveFile>

namespace ymt {
namespace {

// A short write leaves no error code behind; the reason the operator most likely has is a
// full disk (or a file-size limit).
QString writeFailure(const QFileDevice& file, qint64 written, qint64 wanted) {
    if (written >= 0 && written < wanted)
        return QStringLiteral("only %1 of %2 bytes could be written (is the disk full?)")
            .arg(written)
            .arg(wanted);
    return file.errorString();
}

bool setReason(QString* reason, const QString& text) {
    if (reason)
        *reason = text;
    return false;
}

} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return setReason(reason, file.errorString());
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const QString text = writeFailure(file, written, bytes.size());
        file.cancelWriting();
        return setReason(reason, text);
    }
    if (!file.commit())
        return setReason(reason, file.errorString());
    return true;
}

bool WriteFileReplacing(const QString& path, const QByteArray& bytes, QString* error) {
    QString reason;
    return ReplaceFileContents(path, bytes, &reason) ||
           setReason(error, path + QStringLiteral(": ") + reason);
}

bool AppendFileContents(const QString& path, const QByteArray& bytes, QString* reason) {
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return setReason(reason, file.errorString());
    const qint64 sizeBefore = file.size();
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const QString text = writeFailure(file, written, bytes.size());
        // A cut-off line would glue the next append onto it: the file goes back to what it
        // held, and one this append created goes away.
        file.resize(sizeBefore);
        file.close();
        if (!existed)
            file.remove();
        return setReason(reason, text);
    }
    return true;
}

} // namespace ymt
