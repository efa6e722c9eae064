#include "app/StartupLanguage.h"

#include "localisation/IniFile.h"
#include "localisation/LanguageFile.h"
#include "localisation/ProgramTexts.h"
#include "records/RegistryFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ymt {

bool ApplyStoredLanguageTexts(const QString& settingsPath, const QStringList& folders) {
    RegistryFile settings;
    if (!settings.load(settingsPath))
        return false;
    const std::optional<RegistryValue> stored = settings.value(QStringLiteral("Language"));
    if (!stored || stored->type != RegistryValue::Type::String || stored->text.trimmed().isEmpty())
        return false;
    const QString language = stored->text.trimmed();
    // The two built-in items as the window lists them before a file renames them.
    const int index =
        LanguageIndexFor(language, {QStringLiteral("English"), QStringLiteral("Deutsch")});
    IniFile file;
    const QString path = LanguageFileFor(language, index, folders);
    if (path.isEmpty() || !IniFile::Load(path, file))
        return false;
    ApplyProgramTexts(file);
    ApplyMessages(file);
    return true;
}

QStringList StartupLanguageFolders(const QString& programDir) {
    QStringList folders = LanguageFolders(programDir);
    // Linux names the running executable here.
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!executable.isEmpty()) {
        const QString own = QFileInfo(executable).absolutePath() + QLatin1Char('/');
        if (!folders.contains(own))
            folders.insert(std::min<qsizetype>(1, folders.size()), own);
    }
    return folders;
}

} // namespace ymt
