// Language switch and language files of the main window: the window's texts gathered by
// component name, applied from a file, and written for translators ("Create LNG").
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "evaluation/DisplayQuantities.h"
#include "localisation/LanguageFile.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "localisation/widgets/WidgetTexts.h"
#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTabWidget>
#include <QTranslator>

using ymt::LngComponent;
using ymt::LngWindow;

namespace {

using Kind = LngComponent::Kind;

// Captions that show results or state; a language switch puts them back as they were.
const QStringList& stateCaptionNames() {
    static const QStringList names = [] {
        QStringList list;
        for (int n = 45; n <= 55; ++n) // result values
            list << QStringLiteral("Label%1").arg(n);
        for (int n = 61; n <= 65; ++n) // verdicts
            list << QStringLiteral("Label%1").arg(n);
        // Mode captions, the tand caption and the dimension captions.
        list << QStringLiteral("Label42") << QStringLiteral("Label26") << QStringLiteral("Label59")
             << QStringLiteral("Label35") << QStringLiteral("Label17") << QStringLiteral("Label18");
        for (int n = 3; n <= 13; ++n) { // comparison entries; CheckBox5 is "Show Points"
            if (n != 5)
                list << QStringLiteral("CheckBox%1").arg(n);
        }
        // The results of the "Equivalent Circuit" window.
        for (const char* name :
             {"FitValueC0", "FitValueTand", "FitValueR1", "FitValueL1", "FitValueC1", "FitValueFs",
              "FitValueFp", "FitValueQm", "FitValueKeff", "FitValueRms", "FitValuePoints"})
            list << QString::fromLatin1(name);
        return list;
    }();
    return names;
}

// The program's own widgets the walk reads and sets: the plots and the radio groups.
std::vector<ymt::LngWidgetKind> programWidgetKinds() {
    ymt::LngWidgetKind plot;
    plot.gather = [](const QObject& object, LngComponent& c) {
        const auto* graph = qobject_cast<const ymt::TFastGraph*>(&object);
        if (!graph)
            return false;
        c.kind = Kind::Plot;
        c.caption = graph->Title();
        c.xAxisTitle = graph->XAxis.Title();
        c.yAxisTitle = graph->YAxis.Title();
        c.y2AxisTitle = graph->Y2Axis.Title();
        return true;
    };
    plot.apply = [](QObject& object, const LngComponent& c) {
        auto* graph = qobject_cast<ymt::TFastGraph*>(&object);
        if (!graph)
            return false;
        graph->setTitle(c.caption);
        graph->XAxis.setTitle(c.xAxisTitle);
        graph->YAxis.setTitle(c.yAxisTitle);
        graph->Y2Axis.setTitle(c.y2AxisTitle);
        graph->update();
        return true;
    };
    ymt::LngWidgetKind radioGroup;
    radioGroup.gather = [](const QObject& object, LngComponent& c) {
        const auto* group = qobject_cast<const ymt::TRadioGroup*>(&object);
        if (!group)
            return false;
        c.kind = Kind::RadioGroup;
        c.caption = group->title();
        c.hint = group->toolTip();
        c.items = group->items();
        // "Program Language" may list further languages found beside the two it is built with.
        if (c.name == QLatin1String("RadioGroup4"))
            c.fixedItemCount = 2;
        return true;
    };
    radioGroup.apply = [](QObject& object, const LngComponent& c) {
        auto* group = qobject_cast<ymt::TRadioGroup*>(&object);
        if (!group)
            return false;
        group->setTitle(c.caption);
        group->setToolTip(c.hint);
        if (group->items() != c.items)
            group->setItems(c.items);
        return true;
    };
    return {plot, radioGroup};
}

// The walk over a window of the program; lists the program fills at run time (quality-control
// types, printers) keep their items.
ymt::LngWalk programWalk(QTabWidget* tabs) {
    ymt::LngWalk walk;
    walk.kinds = programWidgetKinds();
    walk.tabs = tabs;
    walk.itemsFromProgram = {QStringLiteral("ComboBox2"), QStringLiteral("ComboBox9")};
    return walk;
}

ymt::LngComponent dialogTexts(const char* name, const ymt::FileDialogOptions& options) {
    LngComponent c;
    c.name = QString::fromLatin1(name);
    c.kind = Kind::FileDialog;
    c.title = options.title;
    c.filter = options.filter;
    return c;
}

} // namespace

LngWindow TForm1::languageTexts() const {
    LngWindow texts;
    texts.name = objectName();
    texts.caption = windowTitle();
    ymt::GatherWidgetTexts(*this, programWalk(PageControl1), texts.components);
    texts.components.push_back(dialogTexts("OpenDialog1", OpenDialog1));
    texts.components.push_back(dialogTexts("SaveDialog1", SaveDialog1));
    return texts;
}

void TForm1::setLanguageTexts(const LngWindow& texts) {
    ymt::ApplyWidgetTexts(*this, programWalk(PageControl1), texts);
    setCaption(windowTitle()); // keeps the simulated-analyzer note of a connected simulator
    for (const LngComponent& c : texts.components) {
        if (c.kind != Kind::FileDialog)
            continue;
        ymt::FileDialogOptions& options =
            c.name == QLatin1String("OpenDialog1") ? OpenDialog1 : SaveDialog1;
        options.title = c.title;
        options.filter = c.filter;
    }
}

// The texts of one of the program's smaller windows, its own section of the file.
static LngWindow ownWindowTexts(const QWidget& window) {
    LngWindow texts;
    texts.name = window.objectName();
    texts.caption = window.windowTitle();
    ymt::GatherWidgetTexts(window, programWalk(nullptr), texts.components);
    return texts;
}

// Applies a file to one of the smaller windows; its results stay as they are.
static void applyOwnWindowTexts(const ymt::IniFile& file, QWidget& window) {
    const LngWindow before = ownWindowTexts(window);
    LngWindow texts = before;
    ymt::ApplyWindowSection(file, texts);
    ymt::KeepShownState(texts, before, stateCaptionNames());
    texts.caption = file.read(texts.name, texts.name, before.caption);
    ymt::ApplyWidgetTexts(window, programWalk(nullptr), texts);
}

static std::vector<LngComponent> plotTexts(const LngWindow& texts) {
    std::vector<LngComponent> plots;
    for (const LngComponent& c : texts.components) {
        if (c.kind == Kind::Plot)
            plots.push_back(c);
    }
    return plots;
}

LngWindow TForm1::circuitFitTexts() const {
    return ownWindowTexts(*circuitFitDialog);
}

LngWindow TForm1::materialTexts() const {
    return ownWindowTexts(*materialDialog);
}

void TForm1::rememberFixedPlotTexts() {
    fixedPlotTexts_ = plotTexts(languageTexts());
}

bool TForm1::writeLanguageFile(const QString& path, QString* error) const {
    ymt::IniDocument document;
    ymt::WriteWindowSection(document, languageTexts());
    if (aboutBox_)
        ymt::WriteWindowSection(document, ownWindowTexts(*aboutBox_));
    ymt::WriteWindowSection(document, circuitFitTexts());
    ymt::WriteWindowSection(document, materialTexts());
    ymt::WriteProgramTexts(document);
    ymt::WriteMessages(document, ymt::CurrentMessages());
    return document.save(path, error);
}

void TForm1::warnIfNotCp1252(const QString& path) {
    if (languageFilesWarned_.contains(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !ymt::IsUtf8WithoutBom(file.readAll()))
        return;
    languageFilesWarned_ << path;
    dialogs().showMessage(ymt::MessageKind::Warning,
                          ymt::Text(ymt::Txt::LanguageFileNotCp1252).arg(path), ymt::ButtonSet::OK);
}

// Qt's own texts (the buttons of the boxes, the file and print dialogs) in the program's
// language, from the translations Debian ships for Qt.
void TForm1::followQtLanguage(bool german) {
    if (qtTranslator_) {
        QCoreApplication::removeTranslator(qtTranslator_);
        delete qtTranslator_;
        qtTranslator_ = nullptr;
    }
    if (!german)
        return;
    auto* translator = new QTranslator(this);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    qtTranslator_ = translator;
}

void TForm1::applyLanguageFile(const QString& path) {
    ymt::IniFile file;
    if (path.isEmpty() || !ymt::IniFile::Load(path, file))
        return;
    warnIfNotCp1252(path);

    // List positions and the captions that show state survive the switch.
    std::map<QComboBox*, int> listPositions;
    for (QComboBox* list : findChildren<QComboBox*>())
        listPositions[list] = list->currentIndex();
    std::map<ymt::TRadioGroup*, int> groupPositions;
    for (ymt::TRadioGroup* group : findChildren<ymt::TRadioGroup*>())
        groupPositions[group] = group->itemIndex();
    LngWindow before = languageTexts();
    const QString oldEmpty = ymt::Message(ymt::Msg::Empty);
    const QString oldRepeatStarted = ymt::Message(ymt::Msg::RepeatStarted);
    const QString oldRepeatFinished = ymt::Message(ymt::Msg::RepeatFinished);
    const QString oldTemperatureAxis = ymt::Text(ymt::Txt::RepeatAxisTemperature);
    const QString oldMeasurementsAxis = ymt::Text(ymt::Txt::RepeatAxisMeasurements);

    LngWindow texts = before;
    ymt::ApplyWindowSection(file, texts);
    ymt::KeepShownState(texts, before, stateCaptionNames());
    // Fixed plot titles follow the file; a file without a plot's key keeps its fixed texts.
    LngWindow fixedNow;
    fixedNow.name = texts.name;
    fixedNow.components = fixedPlotTexts_;
    ymt::ApplyWindowSection(file, fixedNow);
    ymt::FollowFixedPlotTexts(texts, before, fixedPlotTexts_, fixedNow.components);
    fixedPlotTexts_ = fixedNow.components;
    setLanguageTexts(texts);
    if (aboutBox_)
        applyOwnWindowTexts(file, *aboutBox_);
    applyOwnWindowTexts(file, *circuitFitDialog);
    applyOwnWindowTexts(file, *materialDialog);
    ymt::ApplyMessages(file);
    ymt::ApplyProgramTexts(file);
    rerenderMaterialText();

    for (const auto& [list, index] : listPositions)
        list->setCurrentIndex(std::min(index, static_cast<int>(list->count()) - 1));
    for (const auto& [group, index] : groupPositions)
        group->setItemIndex(std::min(index, group->count() - 1));

    // Texts the program composes from messages and labels follow the new language.
    const auto [dimension1, dimension2] = ymt::DimensionCaptions(geometryList->currentIndex());
    if (!dimension1.isEmpty())
        dimension1Label->setText(dimension1);
    if (!dimension2.isEmpty())
        dimension2Label->setText(dimension2);
    updateLossTangentCaption();
    const int labelLanguage = programLanguageGroup->itemIndex() == 1 ? 1 : 0;
    for (QLabel* verdict :
         {qcCapVerdict, qcTandVerdict, qcKeffVerdict, qcKVerdict, qcFminVerdict}) {
        if (verdict->text() == ymt::Label(0, 1) || verdict->text() == ymt::Label(1, 1))
            verdict->setText(ymt::Label(labelLanguage, 1));
    }
    for (QCheckBox* entry : comparisonChecks) {
        if (entry && entry->text() == oldEmpty)
            entry->setText(ymt::Message(ymt::Msg::Empty));
    }
    // The log captions name the displayed pair's quantities once another pair is shown.
    if (DisplayCode != 1) {
        const ymt::DisplayPairTexts pair = ymt::DisplayPairCaptions(DisplayCode);
        logZCheck->setText(pair.LeftLogCaption);
        logThetaCheck->setText(pair.RightLogCaption);
    }
    // The repeat plot's titles of a running or finished series.
    const std::pair<QString, QString> repeatTitles[] = {
        {oldRepeatStarted, ymt::Message(ymt::Msg::RepeatStarted)},
        {oldRepeatFinished, ymt::Message(ymt::Msg::RepeatFinished)}};
    for (const auto& [was, now] : repeatTitles) {
        if (dauergraph->Title() == was)
            dauergraph->setTitle(now);
    }
    const std::pair<QString, QString> repeatAxes[] = {
        {oldTemperatureAxis, ymt::Text(ymt::Txt::RepeatAxisTemperature)},
        {oldMeasurementsAxis, ymt::Text(ymt::Txt::RepeatAxisMeasurements)}};
    for (const auto& [was, now] : repeatAxes) {
        if (dauergraph->XAxis.Title() == was)
            dauergraph->XAxis.setTitle(now);
    }
}

void TForm1::applyStoredLanguage() {
    // Language files beside the shipped ones can be chosen too.
    QStringList items = programLanguageGroup->items().mid(0, 2);
    for (const QString& name : ymt::AvailableLanguages(ymt::LanguageFolders(ProgramDir))) {
        const bool builtIn = name.compare(QLatin1String("English"), Qt::CaseInsensitive) == 0 ||
                             name.compare(QLatin1String("German"), Qt::CaseInsensitive) == 0 ||
                             name.compare(QLatin1String("jetzt"), Qt::CaseInsensitive) == 0;
        if (!builtIn && !items.contains(name, Qt::CaseInsensitive))
            items << name;
    }
    programLanguageGroup->setItems(items);
    programLanguageGroup->setItemIndex(ymt::LanguageIndexFor(Language, items));
    RadioGroup4Click();
}

void TForm1::RadioGroup4Click() {
    const int index = std::max(0, programLanguageGroup->itemIndex());
    Language = programLanguageGroup->itemText();
    applyLanguageFile(ymt::LanguageFileFor(Language, index, ymt::LanguageFolders(ProgramDir)));
    followQtLanguage(index == 1);
    geometryList->setVisible(index != 1);
    geometryListGerman->setVisible(index == 1);
}

void TForm1::Button31Click() {
    QString error;
    if (!writeLanguageFile(ProgramDir + QStringLiteral("jetzt.lng"), &error))
        dialogs().showMessage(ymt::MessageKind::Error, error, ymt::ButtonSet::OK);
}
