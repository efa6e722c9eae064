// The settings store seen from the window: which control each stored value sets at the first
// activation and is taken from at shut-down.
#include "app/MainWindow.h"

#include "core/Misc.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"
#include "records/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace {

ymt::Color colorOf(const QFrame* swatch) {
    const QColor color = swatch->palette().color(QPalette::Window);
    return static_cast<ymt::Color>(color.red()) | static_cast<ymt::Color>(color.green()) << 8 |
           static_cast<ymt::Color>(color.blue()) << 16;
}

void showColor(QFrame* swatch, ymt::Color color) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, ymt::toQColor(color));
    swatch->setPalette(palette);
}

// The strict decimal conversion of the line-width and threshold fields; empty when the text is
// not an integer, so that the value is skipped and the stored one kept.
std::optional<qint32> strictInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

// A stored directory as the directory fields take it: "/" at the end, the default when empty,
// and the folder created when it is missing, so that the first backup does not fail.
QString usableDirectory(const QString& stored, const QString& fallback) {
    const QString directory =
        ymt::WithTrailingSlash(stored.trimmed().isEmpty() ? fallback : stored);
    if (!QFileInfo::exists(directory))
        QDir().mkpath(directory);
    return directory;
}

} // namespace

QString TForm1::settingsFile() const {
    return SettingsFile.isEmpty() ? ymt::SettingsFilePath() : SettingsFile;
}

void TForm1::loadSettings() {
    ymt::SettingValues defaults = ymt::FixedSettingDefaults();
    defaults.insert(QStringLiteral("WorkDir"), ProgramDir + QStringLiteral("data/"));
    defaults.insert(QStringLiteral("BackupDir"), ProgramDir + QStringLiteral("backup/"));
    defaults.insert(QStringLiteral("PrintLanguage"), qint32(printLanguageGroup->itemIndex()));
    const ymt::SettingsLoadResult loaded = ymt::LoadSettings(settingsFile(), defaults);
    const ymt::SettingValues& v = loaded.values;
    auto text = [&v](const char* name) { return std::get<QString>(v.value(QLatin1String(name))); };
    auto number = [&v](const char* name) { return std::get<qint32>(v.value(QLatin1String(name))); };
    auto flag = [&v](const char* name) { return std::get<bool>(v.value(QLatin1String(name))); };
    auto real = [&v](const char* name) { return std::get<double>(v.value(QLatin1String(name))); };

    showColor(color1Swatch, static_cast<ymt::Color>(number("Color1")));
    showColor(color2Swatch, static_cast<ymt::Color>(number("Color2")));
    width1Edit->setText(ymt::IntText(number("Width1")));
    width2Edit->setText(ymt::IntText(number("Width2")));
    thermometerList->setCurrentIndex(number("Therm"));
    comPortList->setCurrentIndex(number("COM") - 1);
    analyzerList->setCurrentIndex(number("Analyzer"));
    couplingModeList->setCurrentIndex(number("K"));
    static const char* const ranges[3][3] = {{"Range1", "Range1min", "Range1max"},
                                             {"Range2", "Range2min", "Range2max"},
                                             {"Range3", "Range3min", "Range3max"}};
    for (int range = 0; range < 3; ++range) {
        rangeChecks[range]->setChecked(flag(ranges[range][0]));
        rangeEdits[2 * range]->setText(ymt::FixedText(real(ranges[range][1]), 1, 3));
        rangeEdits[2 * range + 1]->setText(ymt::FixedText(real(ranges[range][2]), 1, 3));
    }
    PointsPerRange = number("Points");
    autoCouplingCheck->setChecked(flag("GetCouple"));
    WorkDir = usableDirectory(text("WorkDir"),
                              std::get<QString>(defaults.value(QStringLiteral("WorkDir"))));
    BackupDir = usableDirectory(text("BackupDir"),
                                std::get<QString>(defaults.value(QStringLiteral("BackupDir"))));
    showAdditionalCheck->setChecked(flag("ShowCont"));
    mergePointsCheck->setChecked(flag("MergePts"));
    Language = text("Language");
    printLanguageGroup->setItemIndex(number("PrintLanguage"));
    const int printer = number("Printer");
    printerList->setCurrentIndex(printer >= 0 && printer < printerList->count()
                                     ? printer
                                     : (printerList->count() > 0 ? 0 : -1));
    autoProtocolCheck->setChecked(flag("Autoprot"));
    autoBackupGroup->setItemIndex(number("Autobackup"));
    couplingPointsEdit->setText(ymt::IntText(number("kpoints")));
    qPointsEdit->setText(ymt::IntText(number("qpoints")));
    tandUnitList->setCurrentIndex(number("tandunit"));

    // The controller name and address reach their fields after the store is closed.
    hpibControllerEdit->setText(text("HPIB"));
    addressSpin->setValue(number("Adress"));

    if (!loaded.skipped.isEmpty() || !loaded.error.isEmpty())
        dialogs().showMessage(
            ymt::MessageKind::None,
            ymt::SettingsWarningText(ymt::Message(2), loaded.skipped, loaded.error),
            ymt::ButtonSet::OK);
}

void TForm1::saveSettings() {
    ymt::SettingValues values;
    auto put = [&values](const char* name, const ymt::SettingValue& value) {
        values.insert(QLatin1String(name), value);
    };
    auto putInt = [&put](const char* name, const QString& text) {
        if (const std::optional<qint32> value = strictInt(text))
            put(name, *value);
    };
    put("HPIB", hpibControllerEdit->text());
    put("Adress", qint32(addressSpin->value()));
    put("Color1", qint32(colorOf(color1Swatch)));
    put("Color2", qint32(colorOf(color2Swatch)));
    putInt("Width1", width1Edit->text());
    putInt("Width2", width2Edit->text());
    put("Therm", qint32(thermometerList->currentIndex()));
    put("COM", qint32(comPortList->currentIndex() + 1));
    put("Analyzer", qint32(analyzerList->currentIndex()));
    put("K", qint32(couplingModeList->currentIndex()));
    static const char* const ranges[3][3] = {{"Range1", "Range1min", "Range1max"},
                                             {"Range2", "Range2min", "Range2max"},
                                             {"Range3", "Range3min", "Range3max"}};
    for (int range = 0; range < 3; ++range) {
        put(ranges[range][0], rangeChecks[range]->isChecked());
        put(ranges[range][1], ymt::ParseNumber(rangeEdits[2 * range]->text()));
        put(ranges[range][2], ymt::ParseNumber(rangeEdits[2 * range + 1]->text()));
    }
    put("Points", qint32(PointsPerRange));
    put("GetCouple", autoCouplingCheck->isChecked());
    put("WorkDir", workDirEdit->text());
    put("BackupDir", backupDirEdit->text());
    put("ShowCont", showAdditionalCheck->isChecked());
    put("MergePts", mergePointsCheck->isChecked());
    put("Language", programLanguageGroup->itemText());
    put("PrintLanguage", qint32(printLanguageGroup->itemIndex()));
    put("Printer", qint32(printerList->currentIndex()));
    put("Autoprot", autoProtocolCheck->isChecked());
    put("Autobackup", qint32(autoBackupGroup->itemIndex()));
    putInt("kpoints", couplingPointsEdit->text());
    putInt("qpoints", qPointsEdit->text());
    put("tandunit", qint32(tandUnitList->currentIndex()));

    const ymt::SettingsSaveResult saved = ymt::SaveSettings(settingsFile(), values);
    if (!saved.skipped.isEmpty() || !saved.error.isEmpty())
        dialogs().showMessage(ymt::MessageKind::None,
                              ymt::SettingsWarningText(ymt::Message(2), saved.skipped, saved.error),
                              ymt::ButtonSet::OK);
}
