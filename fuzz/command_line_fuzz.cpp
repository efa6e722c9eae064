// Feeds arbitrary arguments (the bytes split at NUL, as the system hands them over) to the
// reading of the command line: a line it accepts has an absolute program home ending in "/"
// or none, and a rejected one says why.
#include "app/CommandLine.h"
#include "fuzz/FuzzSupport.h"

#include <QDir>

#include <cstddef>
#include <cstdint>

using ymt::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList arguments{QStringLiteral("zelvanor-ymt")};
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromLocal8Bit(argument);
    const ymt::CommandLineOptions options = ymt::ParseCommandLine(arguments);
    if (!options.error.isEmpty())
        return 0;
    if (!options.homeDir.isEmpty())
        check(QDir::isAbsolutePath(options.homeDir) && options.homeDir.endsWith(QLatin1Char('/')));
    check(!options.demo || options.noSplash);
    check(options.scriptPath.isEmpty() || options.noSplash);
    return 0;
}
