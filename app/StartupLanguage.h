// The operator's language before the window exists: the start-up reports a program directory it
// cannot use in the stored language when the settings and that language's file can be read;
// otherwise in English.
#pragma once

#include <QString>
#include <QStringList>

namespace ymt {

// Applies the program texts and messages of the language the settings file names ("Language"),
// its file searched in folders. False, and nothing changed, when the settings, the value or the
// file cannot be read.
bool ApplyStoredLanguageTexts(const QString& settingsPath, const QStringList& folders);

// Where the start-up looks for language files: those of the program directory, with the
// executable's own folder second (the application object, which knows it, does not exist yet).
QStringList StartupLanguageFolders(const QString& programDir);

} // namespace ymt
