#include "app/ProgramDirs.h"

#include "core/TextCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace ymt {

QString WithTrailingSlash(const QString& directory) {
    if (directory.isEmpty() || directory.endsWith(QLatin1Char('/')))
        return directory;
    return directory + QLatin1Char('/');
}

QString FindProgramDir(const QString& homeOption, const QString& executableDir) {
    if (!homeOption.isEmpty())
        return WithTrailingSlash(QDir::cleanPath(QDir(homeOption).absolutePath()));
    const QString fromEnvironment = qEnvironmentVariable("ZELVANOR_HOME");
    if (!fromEnvironment.isEmpty())
        return WithTrailingSlash(QDir::cleanPath(QDir(fromEnvironment).absolutePath()));
    // An installed program keeps nothing in bin/, writable or not (root, --prefix ~/.local):
    // only a program run from its build folder lives beside its executable.
    const QFileInfo executable(executableDir);
    const bool installed =
        !executableDir.isEmpty() &&
        QFileInfo(executableDir + QStringLiteral("/../share/zelvanor-ymt")).isDir();
    if (!installed && executable.isDir() && executable.isWritable())
        return WithTrailingSlash(QDir::cleanPath(executable.absoluteFilePath()));
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString perUser = WithTrailingSlash(dataHome) + QStringLiteral("zelvanor-ymt");
    QDir().mkpath(perUser);
    return WithTrailingSlash(perUser);
}

QString CreateProgramDir(const QString& programDir, const std::function<void()>& beforeReport) {
    const QString clean = QDir::cleanPath(programDir);
    const QFileInfo info(clean);
    if (info.exists() && !info.isDir()) {
        if (beforeReport)
            beforeReport();
        return Text(Txt::StartProgramDirIsFile).arg(clean);
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(clean.toStdString()), error);
    if (error) {
        if (beforeReport)
            beforeReport();
        return Text(Txt::StartProgramDirNotCreated)
            .arg(clean, QString::fromLocal8Bit(error.message()));
    }
    return QString();
}

QStringList DataFolders(const QString& programDir, const QString& executableDir) {
    QStringList folders;
    const auto add = [&folders](const QString& folder) {
        const QString clean = WithTrailingSlash(QDir::cleanPath(folder));
        if (!folder.isEmpty() && !folders.contains(clean))
            folders << clean;
    };
    add(programDir);
    add(WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
        QStringLiteral("zelvanor-ymt"));
    const QString installed = executableDir + QStringLiteral("/../share/zelvanor-ymt");
    if (!executableDir.isEmpty() && QFileInfo(installed).isDir())
        add(installed);
    return folders;
}

QString FindDataFile(const QString& fileName, const QString& programDir,
                     const QString& executableDir) {
    for (const QString& folder : DataFolders(programDir, executableDir))
        if (QFileInfo(folder + fileName).isFile())
            return folder + fileName;
    return {};
}

QString FindGuide(const QString& executableDir, const QString& sourceGuide) {
    const QString installed =
        QDir::cleanPath(executableDir + QStringLiteral("/../share/doc/zelvanor-ymt/guide.md"));
    if (!executableDir.isEmpty() && QFileInfo(installed).isFile())
        return installed;
    if (!sourceGuide.isEmpty() && QFileInfo(sourceGuide).isFile())
        return sourceGuide;
    return {};
}

ProgramDirs PrepareProgramDirs(const QString& programDir) {
    ProgramDirs dirs;
    dirs.programDir = WithTrailingSlash(programDir);
    dirs.backupDir = dirs.programDir + QStringLiteral("backup/");
    dirs.workDir = dirs.programDir + QStringLiteral("data/");
    for (const QString& directory : {dirs.backupDir, dirs.workDir})
        if (!QFileInfo::exists(directory))
            QDir().mkdir(directory);
    return dirs;
}

} // namespace ymt
