// The program's directories: the program directory (QC.txt, language files), the working
// directory and the backup directory. Every directory name ends in "/".
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace ymt {

struct ProgramDirs {
    QString programDir;
    QString workDir;   // programDir + "data/" until the settings are loaded
    QString backupDir; // programDir + "backup/" until the settings are loaded
};

// Appends "/" unless the text already ends in one; an empty text stays empty.
QString WithTrailingSlash(const QString& directory);

// The program directory: homeOption (--home) if given, else $ZELVANOR_HOME, else the
// executable's directory; an installed program (its executable beside ../share/zelvanor-ymt/)
// or an executable directory that is not writable gives $XDG_DATA_HOME/zelvanor-ymt/, which is
// created.
QString FindProgramDir(const QString& homeOption, const QString& executableDir);

// Makes sure a program directory given by --home (or ZELVANOR_HOME) exists, creating it and its
// parents when missing. Returns empty on success, else one line naming the path and the reason;
// beforeReport runs before that line is composed (it may load the operator's language).
QString CreateProgramDir(const QString& programDir, const std::function<void()>& beforeReport = {});

// Start-up preparation: the working and backup directories below programDir, each created
// (one level) when missing; a failure is not reported, later file operations report it.
ProgramDirs PrepareProgramDirs(const QString& programDir);

// The folders that may hold the files coming with the program (language files, the sicl.conf
// example), in search order and each once: the program directory, $XDG_DATA_HOME/zelvanor-ymt/,
// then the installed data folder <executableDir>/../share/zelvanor-ymt/ (only if it exists).
// Nothing is copied out of the installed folder; it is read where it is.
QStringList DataFolders(const QString& programDir, const QString& executableDir);

// The first of DataFolders() holding fileName, as a full path; empty when none does.
QString FindDataFile(const QString& fileName, const QString& programDir,
                     const QString& executableDir);

// The user guide: the installed <executableDir>/../share/doc/zelvanor-ymt/guide.md, else
// sourceGuide (a program run from its build folder); empty when neither exists.
QString FindGuide(const QString& executableDir, const QString& sourceGuide);

} // namespace ymt
