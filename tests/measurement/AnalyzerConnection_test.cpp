// Connect's steps against the simulated bus, without a window: a second opening closes the
// first session, a Connect abandoned during its set-up leaves the analyzer disconnected, and why
// an interface could not be opened reaches the log in the operator's language.
#include "measurement/AnalyzerConnection.h"

#include "core/Clock.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"
#include "tests/support/GermanTexts.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace ymt {
namespace {

class CancellingDialogs : public DialogInterface {
public:
    DialogButton showMessage(MessageKind, const QString&, ButtonSet buttons) override {
        return SafeButton(buttons);
    }
    FileDialogResult openFile(const FileDialogOptions&) override { return {}; }
    FileDialogResult saveFile(const FileDialogOptions&) override { return {}; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
};

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock::setVirtual(true);
        sim::resetBus();
        sicl::setConfigText(QStringLiteral("[gpib0,17]\ndevice = HP4294A\n"));
        analyzer.AnalyzerModel = 1;
        connection.log = [this](const QString& line) { log << line; };
        connection.linkChanged = [this](bool simulated) {
            links << (analyzer.AnalyzerHandle != 0);
            EXPECT_TRUE(simulated);
        };
    }
    void TearDown() override {
        sicl::closeAllSessions();
        sicl::clearConfigText();
        sim::resetBus();
        clock::setVirtual(false);
    }
    HP4x94A analyzer;
    CancellingDialogs dialogs;
    AnalyzerConnection connection{analyzer, dialogs};
    QStringList log;
    QList<bool> links;
};

TEST_F(ConnectionTest, ASecondOpeningClosesTheFirstSessionBeforeItOpens) {
    ASSERT_TRUE(connection.openSession(QStringLiteral("gpib0"), 17).opened);
    const int first = analyzer.AnalyzerHandle;
    ASSERT_TRUE(connection.openSession(QStringLiteral("gpib0"), 17).opened);
    EXPECT_EQ(links, (QList<bool>{true, false, true}));
    // The first handle is closed: the session answers nothing through it any more.
    EXPECT_NE(sicl::iclose(first), 0);
    EXPECT_TRUE(log.contains(QStringLiteral("Transport of gpib0: sim (simulated analyzer)")));
}

TEST_F(ConnectionTest, AConnectAbandonedDuringItsSetUpIsClosed) {
    ASSERT_TRUE(connection.openSession(QStringLiteral("gpib0"), 17).opened);
    int checks = 0;
    connection.abandoned = [&checks] { return ++checks > 0; };
    double analyzerMin = 0, analyzerMax = 0;
    EXPECT_FALSE(connection.setUp(17, false, false, analyzerMin, analyzerMax, nullptr));
    // Abandoned right after the preset: no settings were applied, no span asked.
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(analyzerMax, 0);
    connection.abandon();
    EXPECT_EQ(analyzer.AnalyzerHandle, 0);
    EXPECT_EQ(log.last(), QStringLiteral("Connect stopped; the analyzer is not connected."));
}

TEST_F(ConnectionTest, WhyAnInterfaceDidNotOpenIsLoggedInTheOperatorsLanguage) {
    // A refused interface line and a transport's own open problem, each with what it names.
    const QString notUsbtmc = QStringLiteral(YMT_SOURCE_DIR "/README.md");
    const auto problemOf = [&](const QString& interfaceLine) {
        sicl::setConfigText(QStringLiteral("[interfaces]\ngpib0 = %1\n").arg(interfaceLine));
        log.clear();
        EXPECT_FALSE(connection.openSession(QStringLiteral("gpib0"), 17).opened);
        return log.value(log.size() - 1);
    };
    {
        const test::GermanTexts german;
        ASSERT_TRUE(german.loaded());
        EXPECT_EQ(problemOf(QStringLiteral("prologix tcp bad_host!")),
                  QStringLiteral("sicl.conf, gpib0: prologix tcp braucht HOST[:PORT], nicht "
                                 "\"bad_host!\""));
        EXPECT_EQ(
            problemOf(QStringLiteral("usbtmc ") + notUsbtmc),
            QStringLiteral("usbtmc: ") + notUsbtmc +
                QString::fromUtf8(" ist kein USBTMC-Gerät (keine zeichenorientierte Gerätedatei)"));
    }
    EXPECT_EQ(problemOf(QStringLiteral("prologix tcp bad_host!")),
              QStringLiteral("sicl.conf, gpib0: prologix tcp needs HOST[:PORT], not "
                             "\"bad_host!\""));
    EXPECT_EQ(problemOf(QStringLiteral("usbtmc ") + notUsbtmc),
              QStringLiteral("usbtmc: ") + notUsbtmc +
                  QStringLiteral(" is not a USBTMC device (not a character device)"));
}

} // namespace
} // namespace ymt
