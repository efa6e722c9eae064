#include "instrument/sicl/SiclConfig.h"

#include "core/TextCatalogue.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace ymt::sicl {
namespace {

struct ConfigState {
    QString programDirectory;
    QString fileOverride;
    std::optional<QString> textOverride;
};

ConfigState& state() {
    static ConfigState instance;
    return instance;
}

QString stripComment(const QString& line) {
    const qsizetype hash = line.indexOf(QLatin1Char('#'));
    return (hash < 0 ? line : line.left(hash)).trimmed();
}

} // namespace

QString SiclConfig::transportFor(const QString& interfaceName) const {
    const QString name = interfaceName.toLower();
    if (interfaces.contains(name))
        return interfaces.value(name);
    if (name == QLatin1String("gpib0"))
        return QStringLiteral("sim");
    // A COM port is a real serial port unless a simulated thermometer is configured on it.
    static const QRegularExpression comPort(QStringLiteral("^com[1-9][0-9]{0,2}$"));
    if (comPort.match(name).hasMatch())
        return hasDevice(name) ? QStringLiteral("sim") : QStringLiteral("serial");
    return QString();
}

SiclConfig parseSiclConfig(const QString& text) {
    SiclConfig config;
    QString section;
    // The lines of a device section given a second time are skipped: the device is made from
    // its first section only, the same for every reader of the configuration.
    bool skippingDuplicate = false;
    int lineNumber = 0;
    for (const QString& rawLine : SplitLines(text)) {
        ++lineNumber;
        const QString line = stripComment(rawLine);
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            section.remove(QLatin1Char(' '));
            skippingDuplicate =
                section != QLatin1String("interfaces") && config.devices.contains(section);
            if (skippingDuplicate)
                config.problems << Text(Txt::SiclConfSectionTwice).arg(lineNumber).arg(section);
            else if (section != QLatin1String("interfaces"))
                config.devices[section];
            continue;
        }
        if (skippingDuplicate)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || section.isEmpty()) {
            config.problems << Text(Txt::SiclConfLineNotTaken).arg(lineNumber).arg(rawLine);
            continue;
        }
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (section == QLatin1String("interfaces")) {
            config.interfaces[key] = value;
        } else {
            config.devices[section].append({key, value});
            config.deviceSections[section] += key + QLatin1Char('=') + value + QLatin1Char('\n');
        }
    }
    return config;
}

void setProgramDirectory(const QString& directory) {
    state().programDirectory = directory;
}

QString programDirectory() {
    return state().programDirectory;
}

void setConfigFile(const QString& path) {
    state().fileOverride = path;
}

void setConfigText(const QString& text) {
    state().textOverride = text;
}

void clearConfigText() {
    state().textOverride.reset();
}

QString transportName(const QString& transportLine) {
    return transportLine.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
}

QStringList configSearchPaths() {
    if (!state().fileOverride.isEmpty())
        return {state().fileOverride};
    QStringList candidates;
    if (!state().programDirectory.isEmpty())
        candidates << QDir(state().programDirectory).filePath(QStringLiteral("sicl.conf"));
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    candidates << configHome + QStringLiteral("/Kvr/sicl.conf");
    return candidates;
}

QString configFilePath() {
    if (!state().fileOverride.isEmpty())
        return QFileInfo::exists(state().fileOverride) ? state().fileOverride : QString();
    for (const QString& candidate : configSearchPaths())
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

SiclConfig currentConfig() {
    if (state().textOverride)
        return parseSiclConfig(*state().textOverride);
    const QString path = configFilePath();
    if (path.isEmpty())
        return {};
    QStringList lines;
    if (!ReadTextFile(path, lines))
        return {};
    return parseSiclConfig(lines.join(QLatin1Char('\n')));
}

} // namespace ymt::sicl
