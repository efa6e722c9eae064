#include "core/FileWrite.h"

#include "core/TextCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace ymt {
namespace {

// A short write leaves no error code behind; the reason the operator most likely has is a
// full disk (or a file-size limit).
QString writeFailure(const QFileDevice& file, qint64 written, qint64 wanted) {
    if (written >= 0 && written < wanted)
        return Text(Txt::WriteShort).arg(written).arg(wanted);
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

bool ReplaceOwnFileContents(const QString& path, const QByteArray& bytes, QString* reason) {
    const auto systemError = [reason](int code) {
        return setReason(reason, QString::fromLocal8Bit(std::strerror(code)));
    };
    // mkstemp creates a new file (never an existing name, never through a link); rename()
    // then replaces whatever stands at the path, a link included, and leaves its target alone.
    QByteArray temporary = QFile::encodeName(QFileInfo(path).absolutePath()) + "/.ymt-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return systemError(errno);
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    qint64 written = 0;
    int error = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        written += n;
    }
    bool ok = written == bytes.size();
    if (ok && fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (ok)
        return true;
    ::unlink(temporary.constData());
    // A full disk or a file-size limit: the same words as every other short write.
    if (written < bytes.size() && (error == 0 || error == ENOSPC || error == EFBIG))
        return setReason(reason, Text(Txt::WriteShort).arg(written).arg(bytes.size()));
    return systemError(error);
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
