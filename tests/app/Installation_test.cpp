// An installed program: where it finds the files that come with it and the guide, and the
// desktop's keys in its menus.
#include "app/ProgramDirs.h"
#include "tests/app/MainWindowTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QMap>
#include <QShortcut>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

void writeFile(const QString& path, const QByteArray& text = "x") {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text);
}

// An installation below a temporary prefix: <prefix>/bin, <prefix>/share/zelvanor-ymt, and a
// per-user data folder of its own ($XDG_DATA_HOME).
struct Installation {
    Installation() {
        qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/xdg")).toUtf8());
        QDir().mkpath(bin);
        QDir().mkpath(home);
    }
    ~Installation() { qunsetenv("XDG_DATA_HOME"); }
    QTemporaryDir root;
    QString bin = root.path() + QStringLiteral("/usr/bin");
    QString data = root.path() + QStringLiteral("/usr/share/zelvanor-ymt/");
    QString home = root.path() + QStringLiteral("/home/");
    QString perUser = root.path() + QStringLiteral("/xdg/zelvanor-ymt/");
};

TEST(Installation, AnInstalledProgramNeverLivesInItsWritableBinFolder) {
    Installation installed;
    qunsetenv("ZELVANOR_HOME");
    // A build folder: the executable's own, writable folder is the program directory.
    EXPECT_EQ(FindProgramDir({}, installed.bin), installed.bin + QLatin1Char('/'));
    // Installed (--prefix ~/.local, or the package run as root): the per-user folder.
    QDir().mkpath(installed.data);
    EXPECT_EQ(FindProgramDir({}, installed.bin), installed.perUser);
    EXPECT_EQ(FindProgramDir(installed.home, installed.bin), installed.home);
}

TEST(Installation, DataFoldersAreProgramDirectoryPerUserFolderThenInstalledFolder) {
    Installation installed;
    // No installed folder: the executable's neighbourhood adds nothing.
    EXPECT_EQ(DataFolders(installed.home, installed.bin),
              (QStringList{installed.home, installed.perUser}));
    QDir().mkpath(installed.data);
    EXPECT_EQ(DataFolders(installed.home, installed.bin),
              (QStringList{installed.home, installed.perUser, installed.data}));
    // An installed program without --home has the per-user folder as program directory: once.
    EXPECT_EQ(DataFolders(installed.perUser, installed.bin),
              (QStringList{installed.perUser, installed.data}));
}

TEST(Installation, AFileIsTakenFromTheFirstFolderHoldingIt) {
    Installation installed;
    writeFile(installed.data + QStringLiteral("English.lng"));
    writeFile(installed.data + QStringLiteral("sicl.conf.example"));
    writeFile(installed.perUser + QStringLiteral("English.lng"));
    EXPECT_EQ(FindDataFile(QStringLiteral("English.lng"), installed.home, installed.bin),
              installed.perUser + QStringLiteral("English.lng"));
    EXPECT_EQ(FindDataFile(QStringLiteral("sicl.conf.example"), installed.home, installed.bin),
              installed.data + QStringLiteral("sicl.conf.example"));
    writeFile(installed.home + QStringLiteral("English.lng"));
    EXPECT_EQ(FindDataFile(QStringLiteral("English.lng"), installed.home, installed.bin),
              installed.home + QStringLiteral("English.lng"));
    EXPECT_TRUE(
        FindDataFile(QStringLiteral("German.lng"), installed.home, installed.bin).isEmpty());
    // A folder of that name is not a file.
    QDir().mkpath(installed.data + QStringLiteral("German.lng"));
    EXPECT_TRUE(
        FindDataFile(QStringLiteral("German.lng"), installed.home, installed.bin).isEmpty());
}

TEST(Installation, FindingFilesCopiesNothingIntoTheProgramDirectory) {
    Installation installed;
    writeFile(installed.data + QStringLiteral("English.lng"));
    FindDataFile(QStringLiteral("English.lng"), installed.home, installed.bin);
    EXPECT_TRUE(QDir(installed.home).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(Installation, TheInstalledGuideComesBeforeTheSourceGuide) {
    Installation installed;
    const QString source = installed.root.path() + QStringLiteral("/src/docs/guide.md");
    EXPECT_TRUE(FindGuide(installed.bin, source).isEmpty());
    writeFile(source);
    EXPECT_EQ(FindGuide(installed.bin, source), source);
    const QString guide =
        installed.root.path() + QStringLiteral("/usr/share/doc/zelvanor-ymt/guide.md");
    writeFile(guide);
    EXPECT_EQ(FindGuide(installed.bin, source), guide);
    EXPECT_EQ(FindGuide(installed.bin, QString()), guide);
}

TEST(Installation, MenusCarryTheDesktopKeysAndNoKeyIsTakenTwice) {
    test::WindowOnTempHome fixture;
    const std::pair<const char*, QKeySequence> keys[] = {
        {"ffnen1", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"Speichern1", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"Drucken1", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"Beenden1", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"Guide1", QKeySequence(Qt::Key_F1)}};
    for (const auto& [name, key] : keys) {
        QAction* action = fixture.window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->shortcut(), key) << name;
        EXPECT_EQ(action->shortcutContext(), Qt::WindowShortcut) << name;
    }
    // Two owners of one key make Qt ignore it for both.
    QMap<QString, QString> owners;
    const auto claim = [&owners](const QKeySequence& key, const QString& owner) {
        if (key.isEmpty())
            return;
        const QString text = key.toString();
        EXPECT_FALSE(owners.contains(text))
            << text.toStdString() << ": " << owners.value(text).toStdString() << " and "
            << owner.toStdString();
        owners.insert(text, owner);
    };
    for (QAction* action : fixture.window->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts())
            claim(key, action->objectName());
    for (QShortcut* shortcut : fixture.window->findChildren<QShortcut*>())
        claim(shortcut->key(), shortcut->objectName());
    EXPECT_TRUE(owners.contains(QStringLiteral("F1")));
}

} // namespace
} // namespace ymt
