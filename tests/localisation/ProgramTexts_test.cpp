// The program's texts beyond the message table: a file replaces them by key, a key left out
// reads in English again, and what is written is read back unchanged.
#include "localisation/ProgramTexts.h"

#include "core/NumberParsing.h"
#include "localisation/LanguageFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace ymt {
namespace {

class ProgramTexts : public ::testing::Test {
protected:
    void TearDown() override { ResetProgramTexts(); }
};

TEST_F(ProgramTexts, FileReplacesByKeyAndLeftOutKeysReadInEnglish) {
    SetText(Txt::BoxWarning, QStringLiteral("Warnung"));
    const IniFile file = IniFile::FromBytes("[ProgramTexts]\r\n"
                                            "FileNotFound=Datei nicht gefunden.\r\n"
                                            "BoxError=\r\n"
                                            "[Form1]\r\nBoxInformation=not this section\r\n");
    ApplyProgramTexts(file);
    EXPECT_EQ(Text(Txt::FileNotFound), QStringLiteral("Datei nicht gefunden."));
    // The previous language's text does not linger where the file has no key.
    EXPECT_EQ(Text(Txt::BoxWarning), QStringLiteral("Warning"));
    EXPECT_EQ(Text(Txt::BoxError), QStringLiteral("Error")) << "an empty value is no text";
    EXPECT_EQ(Text(Txt::BoxInformation), QStringLiteral("Information"));
}

TEST_F(ProgramTexts, WrittenSectionReadsBackWithEveryKeyOnce) {
    SetText(Txt::AskPrintoutLanguage, QString::fromUtf8("Ausdruck auf Deutsch (\u00e4)?"));
    SetText(Txt::CycleStopped, QStringLiteral(" leading blank"));
    IniDocument document;
    WriteProgramTexts(document);
    const QStringList lines = document.lines();
    EXPECT_EQ(lines.first(), QStringLiteral("[ProgramTexts]"));
    EXPECT_EQ(lines.size(), static_cast<int>(Txt::Count) + 1);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.lng"));
    ASSERT_TRUE(document.save(path));
    ResetProgramTexts();
    IniFile file;
    ASSERT_TRUE(IniFile::Load(path, file));
    ApplyProgramTexts(file);
    EXPECT_EQ(Text(Txt::AskPrintoutLanguage), QString::fromUtf8("Ausdruck auf Deutsch (\u00e4)?"));
    EXPECT_EQ(Text(Txt::CycleStopped), QStringLiteral(" leading blank"));
    EXPECT_EQ(Text(Txt::FitNotConverged), EnglishText(Txt::FitNotConverged));
}

TEST_F(ProgramTexts, NumberReadersReportInTheLanguage) {
    ApplyProgramTexts(IniFile::FromBytes("[ProgramTexts]\r\n"
                                         "NotAFloat='%1' ist keine g\xFCltige Gleitkommazahl\r\n"));
    EXPECT_EQ(StrictFloat(QStringLiteral("1,5")).error,
              QString::fromUtf8("'1,5' ist keine gültige Gleitkommazahl"));
    EXPECT_EQ(StrictInt(QStringLiteral("x")).error,
              QStringLiteral("'x' is not a valid integer value"));
    ResetProgramTexts();
    EXPECT_EQ(StrictFloat(QStringLiteral("1,5")).error,
              QStringLiteral("'1,5' is not a valid floating point value"));
}

TEST(LanguageFileEncoding, Utf8WithoutBomIsToldFromCodePage1252) {
    EXPECT_TRUE(IsUtf8WithoutBom("[Form1]\r\nButton6=F\xC3\xBCr \xC3\xA4\r\n"));
    // The same text in code page 1252, with a BOM, or without any umlaut is no such file.
    EXPECT_FALSE(IsUtf8WithoutBom("[Form1]\r\nButton6=F\xFCr \xE4\r\n"));
    EXPECT_FALSE(IsUtf8WithoutBom("\xEF\xBB\xBF[Form1]\r\nButton6=F\xC3\xBCr\r\n"));
    EXPECT_FALSE(IsUtf8WithoutBom("[Form1]\r\nButton6=Read\r\n"));
    // A single 1252 character that happens to start a UTF-8 sequence at the end of the file.
    EXPECT_FALSE(IsUtf8WithoutBom("Label16=Fl\xE4"));
}

} // namespace
} // namespace ymt
