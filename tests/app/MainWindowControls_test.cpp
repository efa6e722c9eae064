// The controls of the main window: names, captions, defaults and states as the window
// definition fixes them, the tabs, the menu, and "Show Additional Controls".
#include "tests/app/MainWindowTestSupport.h"

#include "app/RadioGroup.h"
#include "plot/FastGraph.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

using ymt::test::WindowOnTempHome;

namespace {

// The text an operator reads on a control: caption, field text, selected item, title.
QString shownText(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* radio = qobject_cast<ymt::TRadioGroup*>(widget))
        return radio->title() + QStringLiteral(" -> ") + radio->itemText();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        return QString::number(spin->value());
    if (auto* plot = qobject_cast<ymt::TFastGraph*>(widget))
        return plot->Title();
    return {};
}

struct ControlDefault {
    const char* name;
    const char* text; // UTF-8
    bool shown;
    bool enabled;
    const char* hint = nullptr;
};

const ControlDefault kDefaults[] = {
    // Tab "Hardware".
    {"GroupBox1", "HP 4x94A Settings", true, true},
    {"Edit12", "1", true, true, "Number of Sweeps for Averaging"},
    {"Edit14", "0.500", true, true, "Amplitude of the Measurement Signal"},
    {"Edit15", "0.000", true, true, "Voltage Offset of Measurement Signal"},
    {"Edit35", "30", true, true,
     "Time to Wait for the Impedance Analyzer to Answer. 0 = infinite."},
    {"Button17", "Apply Settings", true, false},
    {"Button13", "Reset", false, false, "Reset Impedance Analyzer"},
    {"Button11", "Calibrate New Sampleholder", true, false},
    {"Button28", "Autozoom Display", true, false, "Autozoom Impedance Analyzer Display"},
    {"GroupBox2", "Thermometer", true, true},
    {"ComboBox7", "none", true, true, "Thermometer Type"},
    {"ComboBox8", "COM2", true, false, "COM port"},
    {"GroupBox3", "Hardware", true, true},
    {"ComboBox6", "HP 4194A", true, true},
    {"Edit17", "gpib0", true, true, "Name of the HPIB Controller in the SICL driver"},
    {"SpinEdit1", "17", true, true},
    {"Button12", "Connect...", true, true, "Connect to Impedance Analyzer"},
    // Tab "Sample".
    {"GroupBox4", "Sample Information", true, true},
    {"Edit3", "", true, true},
    {"Edit4", "", true, true},
    {"Edit6", "", true, true},
    {"Edit8", "", true, true},
    {"ComboBox3", "Arbitrary Geometry", true, true},
    {"ComboBox5", "Freie Geometrie", false, true},
    {"Edit9", "1.000", true, true},
    {"Edit11", "100.000", true, true},
    {"Edit10", "10.000", false, true},
    {"Edit5", "10.000", false, true},
    {"ComboBox2", "none", true, true},
    {"Edit21", "0.000000", true, true},
    {"Edit22", "0.000000", true, true},
    {"Edit23", "0.0", true, true},
    {"Edit20", "0.0", true, true},
    {"Edit46", "0.0", true, true},
    {"Edit43", "0.000", true, true},
    {"Edit45", "", false, true},
    {"CheckBox20", "Aggressive Quality Control (Popup)", true, true},
    {"Button22", "Add / Replace Type", true, true},
    {"Button23", "Use Current Sample Data [+/-10%]", true, true},
    {"Button24", "Delete Type", true, true},
    {"Button18", "OK", true, true},
    // Tab "Measurement".
    {"fastgraph1", "Coupling Factor", true, true},
    {"CheckBox1", "|Z| logarithmic", true, true},
    {"CheckBox2", "theta logarithmic", true, true},
    {"ComboBox1", "|Z| - theta", false, true},
    {"Edit1", "0.040", true, true},
    {"Edit2", "110000.000", true, true},
    {"Button6", "Read New Spectrum", true, false},
    {"Button7", "Read More Points", true, false},
    {"Button8", "CT / eps / tand", true, false},
    {"Button10", "Coupling Factor", true, true},
    {"Button9", "Coupling Factor Manual", true, true},
    {"Button25", "Save", false, true},
    {"Button26", "Print...", false, true},
    {"Button32", "Quil's Button", false, true},
    {"Edit27", "", false, true},
    {"Edit25", "1.000", false, true},
    {"GroupBox8", "Quality Control", true, true},
    // Tab "Protocol".
    {"Button1", "Add Header", true, true},
    {"Button2", "Add Measured Data", true, true},
    {"Button4", "Save Protocol", true, true},
    {"Button5", "Load Protocol", true, true},
    {"Button14", "Print Protocol", false, true},
    {"Button3", "Clear Protocol", true, true},
    {"CheckBox19", "Automatic protocolling", true, true},
    {"RadioGroup2", "Protocolling mode -> On C measurement", true, true},
    // Tab "Spectrum Comparison".
    {"qgraph", "Spectrum Comparison", true, true},
    {"tmpgraph", "FastGraph v1.0d", false, true},
    {"Button19", "Add Curve(s) to Set...", true, true},
    {"Button20", "New Set...", true, true},
    {"Button21", "Save Set...", true, true},
    {"CheckBox3", "empty", true, true},
    {"CheckBox13", "empty", true, true},
    {"RadioGroup1", "Curve  -> Impedance |Z|", true, true},
    {"CheckBox14", "Logarithmic", true, true},
    {"CheckBox16", "Autoscale Freqency", true, true},
    {"Edit18", "0.04", true, true},
    {"Edit19", "110000", true, true},
    // Tab "Repeat Measurement".
    {"dauergraph", "Repeat Measurement", true, true},
    {"Edit28", "0.5", true, true},
    {"Edit29", "300", true, true},
    {"Button27", "Repeat Measurement Start", true, false},
    {"CheckBox22", "Save each spectrum separately", false, true},
    {"CheckBox26", "Increase freqency precision by 10", true, true},
    {"CheckBox15", "Save each Repeat Diagram", false, true},
    {"Edit33", "0.040", true, true},
    {"Edit34", "110000.000", true, true},
    // Tab "Options".
    {"GroupBox11", "Visual Options ", true, true},
    {"Edit13", "2", true, true},
    {"Edit16", "2", true, true},
    {"Button15", "Change Color", true, true},
    {"Button16", "Change Color", true, true},
    {"CheckBox5", "Show Points", true, true},
    {"CheckBox17", "Merge old and newly measured points", true, true},
    {"CheckBox21", "Show Additional Controls", true, true},
    {"RadioGroup4", "Program Language -> English", true, true},
    {"RadioGroup5", "File and Printout Language -> English", true, true},
    {"RadioGroup3", "Save in Textfile:  -> All Points", true, true},
    {"RadioGroup6", "Auto- Backup Options  -> Backup on Every Change (recommended)", true, true},
    {"GroupBox12", "Capacitance Measurement ", true, true},
    {"Edit7", "1.000", true, true},
    {"ComboBox10", "[1e-4]", true, true},
    {"Edit50", "10", true, true},
    {"GroupBox14", "Range and Amount of Points for Reading Data ", true, true},
    {"CheckBox23", "Range 1", true, true},
    {"CheckBox24", "Range 2", true, true},
    {"CheckBox25", "Range 3", true, true},
    {"Edit36", "0.040", true, true},
    {"Edit37", "5000.000", true, true},
    {"Edit38", "5000.000", true, true},
    // The stored default (110000) replaces the window definition's 1100000 at the first start.
    {"Edit39", "110000.000", true, true},
    {"Edit40", "0.000", true, true},
    {"Edit41", "0.000", true, true},
    {"Edit42", "401", true, false, "This value is fixed in the HP4194A"},
    {"CheckBox18", "Automatically determine coupling factor", true, true},
    {"GroupBox15", "Minimum Points Threshold for Calculations", true, true},
    {"Edit48", "20", true, true},
    {"Edit49", "20", true, true},
    {"GroupBox13", "Directories", true, true},
    {"Button29", "Browse...", true, true},
    {"Button30", "Browse...", true, true},
    {"GroupBox16", "Preferred printer", false, true},
    {"Button31", "Create LNG", false, true},
};

} // namespace

TEST(MainWindowControls, EveryNamedControlHasItsCaptionDefaultAndStateAfterStart) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    for (const ControlDefault& expected : kDefaults) {
        SCOPED_TRACE(expected.name);
        QWidget* widget = fixture.control(expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(shownText(widget), QString::fromUtf8(expected.text));
        EXPECT_EQ(!widget->isHidden(), expected.shown);
        EXPECT_EQ(widget->isEnabled(), expected.enabled);
        if (expected.hint) {
            EXPECT_EQ(widget->toolTip(), QString::fromUtf8(expected.hint));
        }
    }
}

TEST(MainWindowControls, CheckBoxDefaultsFollowTheWindowDefinition) {
    WindowOnTempHome fixture;
    const std::pair<const char*, bool> states[] = {
        {"CheckBox1", true},  {"CheckBox2", false},  {"CheckBox14", true},  {"CheckBox16", false},
        {"CheckBox17", true}, {"CheckBox18", false}, {"CheckBox19", false}, {"CheckBox21", false},
        {"CheckBox23", true}, {"CheckBox24", true},  {"CheckBox25", false}, {"CheckBox26", true}};
    for (const auto& [name, checked] : states)
        EXPECT_EQ(fixture.control<QCheckBox>(name)->isChecked(), checked) << name;
}

TEST(MainWindowControls, ListsHoldTheirItemsInOrder) {
    WindowOnTempHome fixture;
    auto items = [&](const char* name) {
        QStringList texts;
        auto* combo = fixture.control<QComboBox>(name);
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    };
    EXPECT_EQ(items("ComboBox1").size(), 21);
    EXPECT_EQ(items("ComboBox1").last(), QStringLiteral("eps' - eps''"));
    EXPECT_EQ(items("ComboBox4"),
              QStringList({"k31 - Transversal Mode", "k33 - Longitudinal Mode",
                           "kt  - Thickness Mode", "k15 - Shear Mode", "kp  - Planar Mode"}));
    EXPECT_EQ(items("ComboBox7"), QStringList({"none", "Almemo 2290-2", "Almemo 2290-4",
                                               "Therm 3280-2", "Therm 3280-6 / 6M"}));
    EXPECT_EQ(items("ComboBox8").size(), 8);
    EXPECT_EQ(items("ComboBox10"), QStringList({"[1e-3]", "[1e-4]"}));
    EXPECT_EQ(items("ComboBox5"), QStringList({"Freie Geometrie", "Kreisscheibe / Rundstab",
                                               "Rechteck-Platte / Rechteckstab", "Ring"}));
}

TEST(MainWindowControls, SevenTabsAtTheBottomOpeningOnHardware) {
    WindowOnTempHome fixture;
    auto* tabs = fixture.window->pageControl();
    ASSERT_EQ(tabs->count(), 7);
    const QStringList captions = {
        "Hardware",           "Sample", "Measurement", "Protocol", "Spectrum Comparison",
        "Repeat Measurement", "Options"};
    const QStringList names = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4",
                               "TabSheet5", "TabSheet8", "TabSheet9"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
    }
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(fixture.window->windowTitle(), QStringLiteral("Zelvanor Ymt for Agilent 4x94A"));
}

TEST(MainWindowControls, MenuItemsCarryTheirNamesAndCaptions) {
    WindowOnTempHome fixture;
    const std::pair<const char*, const char*> items[] = {{"Datei1", "File"},
                                                         {"ffnen1", "Open Spectrum..."},
                                                         {"Speichern1", "Save Spectrum..."},
                                                         {"Drucken1", "Print Spectrum..."},
                                                         {"Openprotocol1", "Open protocol..."},
                                                         {"Saveprotocol1", "Save protocol..."},
                                                         {"Printprotocol1", "Print protocol..."},
                                                         {"Beenden1", "Exit"},
                                                         {"Editmenu", "Edit"},
                                                         {"DeletePoints1", "Delete all points"},
                                                         {"Hilfe1", "About"}};
    for (const auto& [name, caption] : items) {
        QAction* action = fixture.window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromLatin1(caption));
    }
    EXPECT_TRUE(fixture.window->findChild<QAction*>(QStringLiteral("N1"))->isSeparator());
    EXPECT_TRUE(fixture.window->findChild<QAction*>(QStringLiteral("N2"))->isSeparator());
    EXPECT_EQ(fixture.window->findChild<QAction*>(QStringLiteral("Hilfe1"))->menu(), nullptr);
}

TEST(MainWindowControls, ShowAdditionalControlsShowsAndHidesExactlyItsControls) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    const char* additional[] = {"Label33",  "Edit25",    "Label32",    "Edit27",    "Button25",
                                "Button26", "ComboBox1", "CheckBox22", "GroupBox16"};
    auto* toggle = fixture.control<QCheckBox>("CheckBox21");
    toggle->click();
    for (const char* name : additional)
        EXPECT_FALSE(fixture.control(name)->isHidden()) << name;
    EXPECT_TRUE(fixture.control("Button32")->isHidden());
    EXPECT_TRUE(fixture.control("CheckBox15")->isHidden());
    toggle->click();
    for (const char* name : additional)
        EXPECT_TRUE(fixture.control(name)->isHidden()) << name;
}

TEST(MainWindowControls, OkOnSampleSwitchesToMeasurement) {
    WindowOnTempHome fixture;
    fixture.control<QPushButton>("Button18")->click();
    EXPECT_EQ(fixture.window->pageControl()->currentWidget()->objectName(),
              QStringLiteral("TabSheet3"));
}

TEST(MainWindowControls, ComPortListFollowsTheThermometerType) {
    WindowOnTempHome fixture;
    auto* type = fixture.control<QComboBox>("ComboBox7");
    type->setCurrentIndex(3);
    fixture.window->ComboBox7Click();
    EXPECT_TRUE(fixture.control("ComboBox8")->isEnabled());
    type->setCurrentIndex(0);
    fixture.window->ComboBox7Click();
    EXPECT_FALSE(fixture.control("ComboBox8")->isEnabled());
}

TEST(RadioGroup, CodeSelectsSilentlyAndAnOperatorClickReportsTheNewItem) {
    ymt::TRadioGroup group(QStringLiteral("Curve "), {QStringLiteral("a"), QStringLiteral("b")}, 0);
    std::vector<int> clicked;
    QObject::connect(&group, &ymt::TRadioGroup::itemClicked,
                     [&clicked](int index) { clicked.push_back(index); });
    group.setItemIndex(1);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(group.itemText(), QStringLiteral("b"));
    group.button(0)->click();
    EXPECT_EQ(clicked, std::vector<int>{0});
    group.button(0)->click(); // already selected: no change, no report
    EXPECT_EQ(clicked.size(), 1u);
    group.setItems({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    EXPECT_EQ(group.itemIndex(), 0);
    EXPECT_EQ(group.itemText(), QStringLiteral("x"));
}
