// The settings store seen from the window: which control each stored value sets at the first
// activation and is taken from at shut-down.
#include "app/MainWindow.h"

#include "app/FormWidgets.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"
#include "records/SettingsBinding.h"
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

std::vector<ymt::SettingBinding> TForm1::settingBindings(const ymt::SettingValues& defaults) {
    using ymt::BindSetting;
    using Text = std::optional<QString>;
    using Int = std::optional<qint32>;
    using Flag = std::optional<bool>;
    using Real = std::optional<double>;
    auto listIndex = [](const char* name, QComboBox* list, int offset = 0) {
        return BindSetting<qint32>(
            name, [list, offset](qint32 n) { list->setCurrentIndex(n - offset); },
            [list, offset] { return Int(list->currentIndex() + offset); });
    };
    auto groupIndex = [](const char* name, ymt::TRadioGroup* group) {
        return BindSetting<qint32>(
            name, [group](qint32 n) { group->setItemIndex(n); },
            [group] { return Int(group->itemIndex()); });
    };
    auto check = [](const char* name, QCheckBox* box) {
        return BindSetting<bool>(
            name, [box](bool on) { box->setChecked(on); },
            [box] { return Flag(box->isChecked()); });
    };
    // Line widths and point counts: a text that is no integer is not written.
    auto integerField = [](const char* name, QLineEdit* field) {
        return BindSetting<qint32>(
            name, [field](qint32 n) { field->setText(ymt::IntText(n)); },
            [field] { return strictInt(field->text()); });
    };
    auto color = [](const char* name, QFrame* swatch) {
        return BindSetting<qint32>(
            name,
            [swatch](qint32 n) { ymt::form::setSwatchColor(swatch, static_cast<ymt::Color>(n)); },
            [swatch] { return Int(qint32(ymt::form::swatchColor(swatch))); });
    };
    auto frequencyField = [](const char* name, QLineEdit* field) {
        return BindSetting<double>(
            name, [field](double f) { field->setText(ymt::FixedText(f, 1, 3)); },
            [field] { return Real(ymt::ParseNumber(field->text())); });
    };
    // The directories are shown through WorkDir and BackupDir and taken from their fields.
    auto directory = [&defaults](const char* name, QString& dir, QLineEdit* field) {
        const QString fallback = std::get<QString>(defaults.value(QLatin1String(name)));
        return BindSetting<QString>(
            name, [&dir, fallback](const QString& text) { dir = usableDirectory(text, fallback); },
            [field] { return Text(field->text()); });
    };

    // In the order the values are shown.
    std::vector<ymt::SettingBinding> bindings;
    auto add = [&bindings](ymt::SettingBinding binding) { bindings.push_back(std::move(binding)); };
    add(color("Color1", color1Swatch));
    add(color("Color2", color2Swatch));
    add(integerField("Width1", width1Edit));
    add(integerField("Width2", width2Edit));
    add(listIndex("Therm", thermometerList));
    add(listIndex("COM", comPortList, 1));
    add(listIndex("Analyzer", analyzerList));
    add(listIndex("K", couplingModeList));
    static const char* const ranges[3][3] = {{"Range1", "Range1min", "Range1max"},
                                             {"Range2", "Range2min", "Range2max"},
                                             {"Range3", "Range3min", "Range3max"}};
    for (int range = 0; range < 3; ++range) {
        add(check(ranges[range][0], rangeChecks[range]));
        add(frequencyField(ranges[range][1], rangeEdits[2 * range]));
        add(frequencyField(ranges[range][2], rangeEdits[2 * range + 1]));
    }
    add(BindSetting<qint32>(
        "Points", [this](qint32 n) { PointsPerRange = n; },
        [this] { return Int(qint32(PointsPerRange)); }));
    add(check("GetCouple", autoCouplingCheck));
    add(directory("WorkDir", WorkDir, workDirEdit));
    add(directory("BackupDir", BackupDir, backupDirEdit));
    add(check("ShowCont", showAdditionalCheck));
    add(check("MergePts", mergePointsCheck));
    add(BindSetting<QString>(
        "Language", [this](const QString& text) { Language = text; },
        [this] { return Text(programLanguageGroup->itemText()); }));
    add(groupIndex("PrintLanguage", printLanguageGroup));
    add(BindSetting<qint32>(
        "Printer",
        [this](qint32 printer) {
            printerList->setCurrentIndex(printer >= 0 && printer < printerList->count()
                                             ? printer
                                             : (printerList->count() > 0 ? 0 : -1));
        },
        [this] { return Int(qint32(printerList->currentIndex())); }));
    add(check("Autoprot", autoProtocolCheck));
    add(groupIndex("Autobackup", autoBackupGroup));
    add(integerField("kpoints", couplingPointsEdit));
    add(integerField("qpoints", qPointsEdit));
    add(listIndex("tandunit", tandUnitList));
    add(BindSetting<bool>(
        "FreqLog",
        [this](bool on) {
            logFrequencyCheck->setChecked(on);
            fastgraph1->XAxis.setLog(on);
        },
        [this] { return Flag(logFrequencyCheck->isChecked()); }));
    // The controller name and address reach their fields after the store is closed.
    add(BindSetting<QString>(
        "HPIB", [this](const QString& text) { hpibControllerEdit->setText(text); },
        [this] { return Text(hpibControllerEdit->text()); }));
    add(BindSetting<qint32>(
        "Adress", [this](qint32 n) { addressSpin->setValue(n); },
        [this] { return Int(qint32(addressSpin->value())); }));
    return bindings;
}

void TForm1::loadSettings() {
    ymt::SettingValues defaults = ymt::FixedSettingDefaults();
    defaults.insert(QStringLiteral("WorkDir"), ProgramDir + QStringLiteral("data/"));
    defaults.insert(QStringLiteral("BackupDir"), ProgramDir + QStringLiteral("backup/"));
    defaults.insert(QStringLiteral("PrintLanguage"), qint32(printLanguageGroup->itemIndex()));
    const ymt::SettingsLoadResult loaded = ymt::LoadSettings(settingsFile(), defaults);
    ymt::ShowSettings(settingBindings(defaults), loaded.values);
    if (!loaded.skipped.isEmpty() || !loaded.error.isEmpty())
        dialogs().showMessage(ymt::MessageKind::None,
                              ymt::SettingsWarningText(ymt::Message(ymt::Msg::RegistryAccessError),
                                                       loaded.skipped, loaded.error),
                              ymt::ButtonSet::OK);
}

void TForm1::saveSettings() {
    const ymt::SettingsSaveResult saved =
        ymt::SaveSettings(settingsFile(), ymt::TakeSettings(settingBindings({})));
    if (!saved.skipped.isEmpty() || !saved.error.isEmpty())
        dialogs().showMessage(ymt::MessageKind::None,
                              ymt::SettingsWarningText(ymt::Message(ymt::Msg::RegistryAccessError),
                                                       saved.skipped, saved.error),
                              ymt::ButtonSet::OK);
}
