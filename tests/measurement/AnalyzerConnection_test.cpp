// Connect's steps against the simulated bus, without a window: a second opening closes the
// first session, and a Connect abandoned during its set-up leaves the analyzer disconnected.
#include "measurement/AnalyzerConnection.h"

#include "core/Clock.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"

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

} // namespace
} // namespace ymt
