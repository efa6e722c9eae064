// The message and label tables: exact defaults that callers join with other text, replacement
// by language files, and safe lookups outside the tables.
#include "localisation/TextTables.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

class MessageTable : public ::testing::Test {
protected:
    void TearDown() override { ResetMessages(); }
};

TEST_F(MessageTable, DefaultsThatCallersJoinKeepTheirBlanks) {
    EXPECT_EQ(Message(Msg::QcTestFailedForType),
              QStringLiteral("Quality Test failed for the sampletype: "));
    EXPECT_EQ(Message(Msg::LoadingRange), QStringLiteral("Loading range "));
    EXPECT_EQ(Message(Msg::ClickZMaximum),
              QStringLiteral("Please click on |Z| maximum f(max)... "));
    EXPECT_EQ(Message(Msg::ControllerOkAtAddress),
              QStringLiteral("GPIB controller OK on adress: "));
    EXPECT_EQ(Message(Msg::AnalyzerOkAtAddress),
              QStringLiteral("Impedance analyzer OK on adress: "));
    EXPECT_EQ(Message(Msg::ClickZMinimum),
              QStringLiteral("Please click on |Z| minimum f(min)... "));
    EXPECT_EQ(Message(Msg::AlreadyExistsReplace), QStringLiteral(" already exists. Replace?"));
    EXPECT_EQ(Message(Msg::Added), QStringLiteral(" added."));
    EXPECT_EQ(Message(Msg::DeleteType), QStringLiteral("Delete type: "));
    EXPECT_EQ(Message(Msg::Measurement), QStringLiteral("Measurement "));
}

TEST_F(MessageTable, DefaultsOfMessagesShownInBoxes) {
    EXPECT_EQ(Message(Msg::SaveProtocolChanges), QStringLiteral("Save changes in protocol?"));
    EXPECT_EQ(Message(Msg::RegistryAccessError), QStringLiteral("Warning: Registry access error!"));
    EXPECT_EQ(Message(Msg::InsufficientData),
              QStringLiteral("Insufficient data. Aquire more data or reduce threshold "
                             "value on Options page."));
    EXPECT_EQ(Message(Msg::NoMeasurementData), QStringLiteral("No measurement data!"));
    EXPECT_EQ(Message(Msg::TypeNameNoneInvalid), QStringLiteral("Type name 'none' invalid."));
    EXPECT_EQ(Message(Msg::ChooseWorkingDirectory), QStringLiteral("Choose working directory..."));
    EXPECT_EQ(Message(Msg::ChooseBackupDirectory), QStringLiteral("Choose backup directory..."));
    EXPECT_EQ(Message(Msg::DeleteAllPoints),
              QStringLiteral("Do you really want to delete all points?"));
    EXPECT_EQ(Message(Msg::FewPointsPrecisionWarning),
              QStringLiteral("Warning: Less than 20 points for evaluation will "
                             "severely decrease the precision of calculations!"));
    EXPECT_EQ(Message(Msg::NoRangeReadsFullRange),
              QStringLiteral("When no Range is selected, 'Read New Spectrum' will "
                             "read the full range of your Analyzer."));
    EXPECT_EQ(Message(Msg::GermanPrintout),
              QStringLiteral("German printout? (Yes->German, No-> English)"));
}

TEST_F(MessageTable, LookAlikeNamesReadTheirOwnEntries) {
    // Two numbers swapped in the names would put one question or log line in the other's place.
    EXPECT_EQ(Message(Msg::FileExistsOverwrite),
              QStringLiteral("File already exists. Overwrite existing file?"));
    EXPECT_EQ(Message(Msg::OverwriteExistingFile), QStringLiteral("Overwrite existing file?"));
    EXPECT_EQ(Message(Msg::ControllerNotFound),
              QStringLiteral("Error: GPIB controller not found!"));
    EXPECT_EQ(Message(Msg::AnalyzerNotFound),
              QStringLiteral("Error: Impedance analyzer not found!"));
    EXPECT_EQ(Message(Msg::CompensationOpenContacts),
              QStringLiteral("Compensation - Open contacts"));
    EXPECT_EQ(Message(Msg::CompensationCloseContacts),
              QStringLiteral("Compensation - Close contacts"));
    EXPECT_EQ(Message(Msg::StopRepeat), QStringLiteral("Stop repeat measurement"));
    EXPECT_EQ(Message(Msg::StartRepeat), QStringLiteral("Start repeat measurement"));
    EXPECT_EQ(Message(Msg::OpenSpectrumTitle), QStringLiteral("Open spectrum"));
    EXPECT_EQ(Message(Msg::OpenProtocolTitle), QStringLiteral("Open protocol..."));
}

TEST_F(MessageTable, EveryEntryHasAText) {
    // A miscounted table would shift every later message or leave a hole at the end.
    for (int i = 0; i < kMessageCount; ++i)
        EXPECT_FALSE(Message(i).isEmpty()) << "message " << i;
}

TEST_F(MessageTable, IndexOutsideTableGivesEmptyTextAndIsNotWritten) {
    EXPECT_TRUE(Message(-1).isEmpty());
    EXPECT_TRUE(Message(kMessageCount).isEmpty());
    SetMessage(kMessageCount, QStringLiteral("x"));
    SetMessage(-5, QStringLiteral("x"));
    EXPECT_TRUE(Message(kMessageCount).isEmpty());
    EXPECT_EQ(Message(Msg::GermanPrintout),
              QStringLiteral("German printout? (Yes->German, No-> English)"));
}

TEST_F(MessageTable, SetMessageReplacesOneEntryAndResetRestoresAll) {
    SetMessage(Msg::LoadingRange, QStringLiteral("Lade Bereich "));
    SetMessage(Msg::ClickZMinimum, QString());
    EXPECT_EQ(Message(Msg::LoadingRange), QStringLiteral("Lade Bereich "));
    EXPECT_TRUE(Message(Msg::ClickZMinimum).isEmpty());
    EXPECT_EQ(Message(Msg::LoadingSpectrumOverview),
              QStringLiteral("Loading spectrum overview..."));
    ResetMessages();
    EXPECT_EQ(Message(Msg::LoadingRange), QStringLiteral("Loading range "));
    EXPECT_EQ(Message(Msg::ClickZMinimum),
              QStringLiteral("Please click on |Z| minimum f(min)... "));
}

TEST(LabelTable, EntriesOfBothLanguages) {
    EXPECT_EQ(Label(0, 0), QStringLiteral("Low Field Impedance Analysis"));
    EXPECT_EQ(Label(1, 0), QStringLiteral("Kleinsignalimpedanzmessung"));
    EXPECT_EQ(Label(0, 1), QStringLiteral("DEFECT"));
    EXPECT_EQ(Label(1, 1), QStringLiteral("DEFEKT"));
    EXPECT_EQ(Label(0, 11), QStringLiteral("Voltage [V]"));
    EXPECT_EQ(Label(1, 11), QStringLiteral("Spannungslevel [V]"));
    EXPECT_EQ(Label(0, 24), QStringLiteral("Sample Geometry"));
    EXPECT_EQ(Label(1, 24), QStringLiteral("Probengeometrie"));
}

TEST(LabelTable, NonAsciiLettersSurviveAsCharacters) {
    // These end up in code page 1252 files; a mangled source encoding would show here.
    EXPECT_EQ(Label(0, 8), QString::fromUtf8("Electrode-Area [mm\u00B2]"));
    EXPECT_EQ(Label(1, 8), QString::fromUtf8("Elektrodenfl\u00E4che [mm\u00B2]"));
    EXPECT_EQ(Label(1, 9), QString::fromUtf8("Me\u00DFbedingungen"));
    EXPECT_EQ(Label(1, 15), QString::fromUtf8("Kapazit\u00E4t [nF]"));
    EXPECT_EQ(Label(1, 23), QString::fromUtf8("Qualit\u00E4tskontrolle"));
}

TEST(LabelTable, EmptyEntriesAndOutOfRangeLookups) {
    EXPECT_TRUE(Label(0, 10).isEmpty());
    EXPECT_TRUE(Label(1, 10).isEmpty());
    EXPECT_TRUE(Label(0, 12).isEmpty());
    EXPECT_TRUE(Label(1, 12).isEmpty());
    EXPECT_FALSE(Label(0, 13).isEmpty());
    EXPECT_TRUE(Label(2, 0).isEmpty());
    EXPECT_TRUE(Label(-1, 0).isEmpty());
    EXPECT_TRUE(Label(0, 25).isEmpty()); // not entry 0 of German
    EXPECT_TRUE(Label(0, -1).isEmpty());
}

TEST(LabelTable, HeadersFollowTheProgramLanguageUntilAskMeIsAnswered) {
    EXPECT_EQ(HeaderLanguage(0, 1), 0);
    EXPECT_EQ(HeaderLanguage(1, 0), 1);
    EXPECT_EQ(HeaderLanguage(2, 1), 1);
    EXPECT_EQ(HeaderLanguage(2, 0), 0);
    EXPECT_EQ(HeaderLanguage(-1, 2), 0); // nothing selected, a further program language
}

} // namespace
} // namespace ymt
