// The program's directories: the program directory (QC.txt, language files), the working
// directory and the backup directory. Every directory name ends in "/".
#pragma once

#include <QString>

namespace ymt {

struct ProgramDirs {
    QString programDir;
    QString workDir;   // programDir + "data/" until the settings are loaded
    QString backupDir; // programDir + "backup/" until the settings are loaded
};

// Appends "/" unless the text already ends in one; an empty text stays empty.
QString WithTrailingSlash(const QString& directory);

// The program directory: homeOption (--home) if given, else $ZELVANOR_HOME, else the
// executable's directory; an executable directory that is not writable (an installed program)
// gives $XDG_DATA_HOME/zelvanor-ymt/, which is created.
QString FindProgramDir(const QString& homeOption, const QString& executableDir);

// Makes sure a program directory given by --home (or ZELVANOR_HOME) exists, creating it and its
// parents when missing. Returns empty on success, else one line naming the path and the reason.
QString CreateProgramDir(const QString& programDir);

// Start-up preparation: the working and backup directories below programDir, each created
// (one level) when missing; a failure is not reported, later file operations report it.
ProgramDirs PrepareProgramDirs(const QString& programDir);

} // namespace ymt
