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
    EXPECT_EQ(Message(0), QStringLiteral("Quality Test failed for the sampletype: "));
    EXPECT_EQ(Message(4), QStringLiteral("Loading range "));
    EXPECT_EQ(Message(23), QStringLiteral("Please click on |Z| maximum f(max)... "));
    EXPECT_EQ(Message(26), QStringLiteral("GPIB controller OK on adress: "));
    EXPECT_EQ(Message(29), QStringLiteral("Impedance analyzer OK on adress: "));
    EXPECT_EQ(Message(33), QStringLiteral("Please click on |Z| minimum f(min)... "));
    EXPECT_EQ(Message(52), QStringLiteral(" already exists. Replace?"));
    EXPECT_EQ(Message(53), QStringLiteral(" added."));
    EXPECT_EQ(Message(54), QStringLiteral("Delete type: "));
    EXPECT_EQ(Message(59), QStringLiteral("Measurement "));
}

TEST_F(MessageTable, DefaultsOfMessagesShownInBoxes) {
    EXPECT_EQ(Message(1), QStringLiteral("Save changes in protocol?"));
    EXPECT_EQ(Message(2), QStringLiteral("Warning: Registry access error!"));
    EXPECT_EQ(Message(19), QStringLiteral("Insufficient data. Aquire more data or reduce threshold "
                                          "value on Options page."));
    EXPECT_EQ(Message(32), QStringLiteral("No measurement data!"));
    EXPECT_EQ(Message(51), QStringLiteral("Type name 'none' invalid."));
    EXPECT_EQ(Message(61), QStringLiteral("Choose working directory..."));
    EXPECT_EQ(Message(62), QStringLiteral("Choose backup directory..."));
    EXPECT_EQ(Message(63), QStringLiteral("Do you really want to delete all points?"));
    EXPECT_EQ(Message(67), QStringLiteral("Warning: Less than 20 points for evaluation will "
                                          "severely decrease the precision of calculations!"));
    EXPECT_EQ(Message(68), QStringLiteral("When no Range is selected, 'Read New Spectrum' will "
                                          "read the full range of your Analyzer."));
    EXPECT_EQ(Message(69), QStringLiteral("German printout? (Yes->German, No-> English)"));
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
    EXPECT_EQ(Message(69), QStringLiteral("German printout? (Yes->German, No-> English)"));
}

TEST_F(MessageTable, SetMessageReplacesOneEntryAndResetRestoresAll) {
    SetMessage(4, QStringLiteral("Lade Bereich "));
    SetMessage(33, QString());
    EXPECT_EQ(Message(4), QStringLiteral("Lade Bereich "));
    EXPECT_TRUE(Message(33).isEmpty());
    EXPECT_EQ(Message(5), QStringLiteral("Loading spectrum overview..."));
    ResetMessages();
    EXPECT_EQ(Message(4), QStringLiteral("Loading range "));
    EXPECT_EQ(Message(33), QStringLiteral("Please click on |Z| minimum f(min)... "));
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

} // namespace
} // namespace ymt
