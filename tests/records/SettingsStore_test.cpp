// The settings store file: first start, values that cannot be read, unknown lines, case of
// names, and a save that goes on past a value it cannot take.
#include "records/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace ymt {
namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.filePath(QStringLiteral("Kvr/Ymt.reg")); }
    SettingValues defaults() const {
        SettingValues values = FixedSettingDefaults();
        values.insert(QStringLiteral("WorkDir"), QStringLiteral("/home/op/data/"));
        values.insert(QStringLiteral("BackupDir"), QStringLiteral("/home/op/backup/"));
        values.insert(QStringLiteral("PrintLanguage"), qint32(0));
        return values;
    }
    void write(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString text() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    static QByteArray storeWith(const QByteArray& valueLines) {
        return "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\Kvr\\Ymt]\r\n" +
               valueLines;
    }

    QTemporaryDir dir_;
};

TEST_F(SettingsFile, FirstStartWritesEveryValueWithItsDefault) {
    const SettingsLoadResult loaded = LoadSettings(path(), defaults());
    EXPECT_TRUE(loaded.skipped.isEmpty());
    EXPECT_TRUE(loaded.error.isEmpty());
    const QString file = text();
    EXPECT_TRUE(file.startsWith(QStringLiteral("Windows Registry Editor Version 5.00\r\n")));
    for (const SettingDefinition& definition : SettingsTable())
        EXPECT_TRUE(file.contains(QStringLiteral("\"%1\"=").arg(QLatin1String(definition.name))))
            << definition.name;
    EXPECT_TRUE(file.contains(QStringLiteral("\"Version\"=\"2.4.5 \"")));
    EXPECT_TRUE(file.contains(QStringLiteral("\"Adress\"=dword:00000011")));
    // 0.04 as the 8 bytes of the double, little-endian.
    EXPECT_TRUE(file.contains(QStringLiteral("\"Range1min\"=hex:7b,14,ae,47,e1,7a,a4,3f")));
    EXPECT_EQ(std::get<double>(loaded.values.value(QStringLiteral("Range2max"))), 110000.0);
    EXPECT_EQ(std::get<QString>(loaded.values.value(QStringLiteral("HPIB"))), "gpib0");
    EXPECT_EQ(loaded.values.size(), kSettingCount - 1); // Version is never read
}

TEST_F(SettingsFile, SavedValuesComeBackBitForBitAndVersionStaysFromTheFirstRun) {
    write(storeWith("\"Version\"=\"1.0 \"\r\n"));
    SettingValues values = defaults();
    values.insert(QStringLiteral("Range1min"), 0.1 + 0.2);
    values.insert(QStringLiteral("Language"), QStringLiteral("German"));
    values.insert(QStringLiteral("WorkDir"),
                  QStringLiteral("/data/\"quoted\" \\n ü\r\nsecond line/"));
    values.insert(QStringLiteral("Printer"), qint32(-1));
    EXPECT_TRUE(SaveSettings(path(), values).error.isEmpty());
    const SettingsLoadResult loaded = LoadSettings(path(), defaults());
    EXPECT_TRUE(loaded.skipped.isEmpty());
    EXPECT_EQ(std::get<double>(loaded.values.value(QStringLiteral("Range1min"))), 0.1 + 0.2);
    EXPECT_EQ(std::get<QString>(loaded.values.value(QStringLiteral("Language"))), "German");
    EXPECT_EQ(std::get<QString>(loaded.values.value(QStringLiteral("WorkDir"))),
              QStringLiteral("/data/\"quoted\" \\n ü\r\nsecond line/"));
    EXPECT_EQ(std::get<qint32>(loaded.values.value(QStringLiteral("Printer"))), -1);
    EXPECT_TRUE(text().contains(QStringLiteral("\"Version\"=\"1.0 \"")));
}

TEST_F(SettingsFile, UnreadableValuesAreSkippedByNameAndTheRestStillLoad) {
    write(storeWith("\"HPIB\"=dword:00000001\r\n"                   // wrong type
                    "\"Range1min\"=hex:00,00\r\n"                   // not 8 bytes
                    "\"Range2min\"=hex:00,00,00,00,00,00,f8,7f\r\n" // NaN
                    "\"K\"=dword:00000009\r\n"                      // past the list
                    "\"Width1\"=dword:zz\r\n"                       // malformed
                    "\"adress\"=dword:00000005\r\n"));              // other case
    const SettingsLoadResult loaded = LoadSettings(path(), defaults());
    EXPECT_EQ(loaded.skipped, QStringList({"HPIB", "Width1", "K", "Range1min", "Range2min"}));
    EXPECT_EQ(std::get<QString>(loaded.values.value(QStringLiteral("HPIB"))), "gpib0");
    EXPECT_EQ(std::get<double>(loaded.values.value(QStringLiteral("Range1min"))), 0.04);
    EXPECT_EQ(std::get<double>(loaded.values.value(QStringLiteral("Range2min"))), 5000.0);
    EXPECT_EQ(std::get<qint32>(loaded.values.value(QStringLiteral("K"))), 0);
    EXPECT_EQ(std::get<qint32>(loaded.values.value(QStringLiteral("Adress"))), 5);
    EXPECT_EQ(std::get<qint32>(loaded.values.value(QStringLiteral("Width2"))), 2);
    // A value that exists is never overwritten by the load, whatever it holds.
    EXPECT_TRUE(text().contains(QStringLiteral("\"HPIB\"=dword:00000001")));
    EXPECT_FALSE(text().contains(QStringLiteral("\"Adress\"")));
}

TEST_F(SettingsFile, SaveKeepsUnknownLinesAndTheStoredValueOfAnUnconvertibleField) {
    write(storeWith("; a comment\r\n\"Width1\"=dword:00000007\r\n\"Mine\"=\"kept\"\r\n") +
          "\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Width1\"=dword:00000009\r\n");
    SettingValues values = defaults();
    values.remove(QStringLiteral("Width1")); // the field held letters
    values.insert(QStringLiteral("Width2"), qint32(4));
    const SettingsSaveResult saved = SaveSettings(path(), values);
    EXPECT_EQ(saved.skipped, QStringList{"Width1"});
    const QString file = text();
    EXPECT_TRUE(file.contains(QStringLiteral("; a comment\r\n")));
    EXPECT_TRUE(file.contains(QStringLiteral("\"Mine\"=\"kept\"")));
    EXPECT_TRUE(file.contains(QStringLiteral("\"Width1\"=dword:00000007")));
    EXPECT_TRUE(file.contains(QStringLiteral("[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                                             "\"Width1\"=dword:00000009")));
    // New values go into the program's key, before the other section.
    EXPECT_LT(file.indexOf(QStringLiteral("\"Width2\"=dword:00000004")),
              file.indexOf(QStringLiteral("[HKEY_CURRENT_USER\\Software\\Other]")));
    EXPECT_EQ(
        std::get<qint32>(LoadSettings(path(), defaults()).values.value(QStringLiteral("Width1"))),
        7);
}

TEST_F(SettingsFile, AStoreThatCannotBeWrittenIsReportedAndNothingIsLost) {
    // The store's folder is a file: neither the load's defaults nor a save can be written.
    QFile blocker(dir_.filePath(QStringLiteral("Kvr")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SettingsLoadResult loaded = LoadSettings(path(), defaults());
    EXPECT_FALSE(loaded.error.isEmpty());
    EXPECT_EQ(std::get<qint32>(loaded.values.value(QStringLiteral("Adress"))), 17);
    EXPECT_FALSE(SaveSettings(path(), defaults()).error.isEmpty());
    EXPECT_EQ(SettingsWarningText(QStringLiteral("Warning: Registry access error!"),
                                  {QStringLiteral("Width1"), QStringLiteral("K")}, QString()),
              QStringLiteral("Warning: Registry access error!\nSkipped: Width1, K"));
}

TEST(RegistryText, ReadsUtf16ExportsAndLongBinaryValuesOverSeveralLines) {
    const QString exported = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kvr\\Ymt]\r\n"
        "\"Range1max\"=hex:00,00,00,00,\\\r\n  00,88,b3,40\r\n\"HPIB\"=\"gpib1\"\r\n");
    QByteArray utf16("\xff\xfe");
    utf16.append(reinterpret_cast<const char*>(exported.utf16()), exported.size() * 2);
    RegistryFile store;
    store.parse(utf16);
    const auto range = store.value(QStringLiteral("RANGE1MAX"));
    ASSERT_TRUE(range);
    ASSERT_EQ(range->type, RegistryValue::Type::Binary);
    EXPECT_EQ(range->binary, QByteArray::fromHex("00000000 0088b340"));
    EXPECT_EQ(store.value(QStringLiteral("hpib"))->text, "gpib1");
}

} // namespace
} // namespace ymt
