// Shared by the fuzz targets: a failed property stops the fuzzer with the input that broke
// it, and readers of files get their input through a scratch file.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace ymt::fuzz {

inline void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// The one scratch file of this fuzzer, in a folder of its own. On a disk, replacing a file
// syncs it and truncating one flushes it; memory-backed /dev/shm keeps the fuzzer at thousands
// of inputs a second.
inline const QString& ScratchFile(const char* fileName) {
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/ymt_fuzz-XXXXXX")
                                       : QString());
    static const QString path = dir.filePath(QString::fromLatin1(fileName));
    return path;
}

// Puts the bytes into the scratch file and returns its path.
inline const QString& WriteScratchFile(const QByteArray& bytes, const char* fileName) {
    const QString& path = ScratchFile(fileName);
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(bytes) == bytes.size());
    return path;
}

} // namespace ymt::fuzz
