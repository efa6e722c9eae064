// The settings bound to controls: shown in the bindings' order, taken back without the
// values a control cannot give.
#include "records/SettingsBinding.h"

#include <gtest/gtest.h>

using namespace ymt;

TEST(SettingsBinding, ShownInOrderAndUnreadableTextsAreNotTaken) {
    QStringList shown;
    QString text = QStringLiteral("abc");
    std::optional<qint32> width;
    const std::vector<SettingBinding> bindings{
        BindSetting<QString>(
            "HPIB", [&](const QString& v) { shown << QStringLiteral("HPIB=") + v; },
            [&] { return std::optional<QString>(text); }),
        BindSetting<qint32>(
            "Width1", [&](qint32 v) { shown << QStringLiteral("Width1=%1").arg(v); },
            [&] { return width; }),
        BindSetting<bool>(
            "Autoprot", [&](bool) { shown << QStringLiteral("Autoprot"); },
            [] { return std::optional<bool>(true); })};

    ShowSettings(bindings, {{QStringLiteral("Width1"), qint32(3)},
                            {QStringLiteral("HPIB"), QStringLiteral("gpib0")}});
    EXPECT_EQ(shown, (QStringList{"HPIB=gpib0", "Width1=3"}));

    const SettingValues taken = TakeSettings(bindings);
    EXPECT_EQ(taken.keys(), (QList<QString>{"Autoprot", "HPIB"}));
    EXPECT_EQ(std::get<QString>(taken.value(QStringLiteral("HPIB"))), QStringLiteral("abc"));
    width = 7;
    EXPECT_EQ(std::get<qint32>(TakeSettings(bindings).value(QStringLiteral("Width1"))), 7);
}
