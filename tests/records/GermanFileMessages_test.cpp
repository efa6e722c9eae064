// What a German operator reads when a file cannot be read or written: the readers' and
// writers' reasons come from the language file, with the file name and the line filled in.
#include "records/ComparisonSet.h"
#include "records/QcTypeFile.h"
#include "records/SpectrumCsvFile.h"

#include "core/FileTypeFilter.h"
#include "core/TextFile.h"
#include "tests/support/GermanTexts.h"
#include "tests/support/SpectrumFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

class GermanFileMessages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(german_.loaded());
        ASSERT_TRUE(dir_.isValid());
    }
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

    test::GermanTexts german_;
    QTemporaryDir dir_;
};

TEST_F(GermanFileMessages, ADamagedAnalyzerDataFileNamesItsLine) {
    const SpectrumFileRead read =
        ReadAnySpectrumFile(QStringLiteral(YMT_SOURCE_DIR "/tests/core/analyzer-files/r-x.txt"));
    ASSERT_EQ(read.status, SpectrumReadStatus::Refused);
    EXPECT_EQ(read.error, QStringLiteral("r-x.txt: Zeile 5: der MEASURE PARAMETER \"R-X\" ist "
                                         "nicht Betrag und Phase der Impedanz oder der "
                                         "Admittanz; nur diese ergeben |Z| und theta."));
}

TEST_F(GermanFileMessages, ADamagedCsvFileNamesItsLine) {
    ASSERT_TRUE(test::WriteBytes(path("bad.csv"), "# sample: Disc 7\n"
                                                  "frequency_kHz,abs_Z_ohm,theta_deg\n"
                                                  "100,1200,-80\n"
                                                  "101;1210;-80\n"));
    const SpectrumFileRead read = ReadAnySpectrumFile(path("bad.csv"));
    ASSERT_EQ(read.status, SpectrumReadStatus::Refused);
    EXPECT_EQ(read.error, QStringLiteral("bad.csv: Zeile 4: eine Datenzeile muss mit drei durch "
                                         "\",\" getrennten Zahlen beginnen, mit \".\" als "
                                         "Dezimalpunkt."));
}

TEST_F(GermanFileMessages, AComparisonFileThatCannotBeReadIsNamed) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.txt")));
    const ComparisonFile folder = ReadComparisonFile(path("folder.txt"));
    ASSERT_EQ(folder.status, ComparisonFile::Status::FileError);
    EXPECT_EQ(folder.error, QStringLiteral("Fehler! \"%1\" kann nicht gelesen werden: es ist ein "
                                           "Ordner.")
                                .arg(path("folder.txt")));

    // 21 header and title lines, three rows, then a row of one number on line 25.
    test::SpectrumFileOptions options;
    options.points = 3;
    options.extraRows = {test::FileNumber(400)};
    ASSERT_TRUE(test::WriteSpectrumFile(path("short row.txt"), options));
    const ComparisonFile shortRow = ReadComparisonFile(path("short row.txt"));
    ASSERT_EQ(shortRow.status, ComparisonFile::Status::FileError);
    EXPECT_EQ(shortRow.error, QStringLiteral("Fehler! \"short row.txt\", Zeile 25: eine "
                                             "Datenzeile muss drei endliche Zahlen enthalten."));
}

TEST_F(GermanFileMessages, AQcFileThatCannotBeRewrittenNamesTheFolder) {
    const QString program = dir_.path() + QLatin1Char('/');
    ASSERT_TRUE(WriteTextFile(program + QStringLiteral("QC.txt"), {QStringLiteral("header")}));
    ASSERT_TRUE(WriteTextFile(program + QStringLiteral("blocked"), {QStringLiteral("x")}));
    QString error;
    EXPECT_FALSE(RewriteQcFile(program, program + QStringLiteral("blocked/"),
                               QStringLiteral("20260101-120000"), {QStringLiteral("header")},
                               &error));
    EXPECT_EQ(error, QStringLiteral("Das Sicherungsverzeichnis %1blocked/ kann nicht angelegt "
                                    "werden")
                         .arg(program));
}

// The dialogs' type names are German; the patterns and their order, by which scripts choose a
// type, are the English ones whatever a language file writes there.
TEST_F(GermanFileMessages, FileTypeNamesAreGermanAndThePatternsStay) {
    const QStringList german = SpectrumOpenFilter().split(QLatin1Char('|'));
    const QStringList english = EnglishText(Txt::FilterSpectrumOpen).split(QLatin1Char('|'));
    ASSERT_EQ(german.size(), english.size());
    for (qsizetype i = 1; i < german.size(); i += 2)
        EXPECT_EQ(german[i], english[i]);
    EXPECT_EQ(german[2], QStringLiteral("HP-4294A-Datendatei (txt, dat)"));
    EXPECT_EQ(german[6], QStringLiteral("Alle Dateien (*.*)"));

    SetText(Txt::FilterComparisonPicture,
            QStringLiteral("Metadatei|*.emf|Bitmap|*.bmp|JPEG|*.jpg"));
    EXPECT_EQ(FileTypeFilter(Txt::FilterComparisonPicture),
              QStringLiteral("Metadatei|*.wmf|Bitmap|*.bmp|JPEG|*.jpg"));
    SetText(Txt::FilterComparisonPicture, QStringLiteral("Metadatei (wmf)|*.wmf"));
    EXPECT_EQ(FileTypeFilter(Txt::FilterComparisonPicture),
              EnglishText(Txt::FilterComparisonPicture));
}

} // namespace
} // namespace ymt
