// The command line: options with values, the home fallback, implied options and bad input.
#include "app/CommandLine.h"

#include <QDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

CommandLineOptions parse(QStringList arguments, const QString& envHome = QString()) {
    arguments.prepend(QStringLiteral("zelvanor-ymt"));
    return ParseCommandLine(arguments, envHome);
}

TEST(CommandLine, NoOptionsGivesInteractiveDefaults) {
    const CommandLineOptions options = parse({});
    EXPECT_TRUE(options.error.isEmpty());
    EXPECT_TRUE(options.homeDir.isEmpty());
    EXPECT_FALSE(options.fast);
    EXPECT_FALSE(options.noSplash);
    EXPECT_FALSE(options.demo);
    EXPECT_FALSE(options.help);
    EXPECT_TRUE(options.scriptPath.isEmpty());
    EXPECT_TRUE(options.ioTracePath.isEmpty());
}

TEST(CommandLine, EveryOptionIsRead) {
    const CommandLineOptions options = parse(
        {"--home", "/srv/ymt", "--fast", "--io-trace", "/tmp/io.txt", "--no-splash", "--help"});
    EXPECT_TRUE(options.error.isEmpty()) << options.error.toStdString();
    EXPECT_EQ(options.homeDir, QStringLiteral("/srv/ymt/"));
    EXPECT_TRUE(options.fast);
    EXPECT_EQ(options.ioTracePath, QStringLiteral("/tmp/io.txt"));
    EXPECT_TRUE(options.noSplash);
    EXPECT_TRUE(options.help);
}

TEST(CommandLine, ValuesMayFollowAnEqualsSign) {
    const CommandLineOptions options = parse({"--home=/srv/ymt/", "--script=/tmp/s.txt"});
    EXPECT_EQ(options.homeDir, QStringLiteral("/srv/ymt/"));
    EXPECT_EQ(options.scriptPath, QStringLiteral("/tmp/s.txt"));
}

TEST(CommandLine, RelativeHomeBecomesAbsoluteWithTrailingSlash) {
    const CommandLineOptions options = parse({"--home", "lab/../ymt"});
    EXPECT_EQ(options.homeDir, QDir::current().absolutePath() + QStringLiteral("/ymt/"));
}

TEST(CommandLine, EnvironmentHomeIsTheFallbackOnly) {
    EXPECT_EQ(parse({}, "/opt/home").homeDir, QStringLiteral("/opt/home/"));
    EXPECT_EQ(parse({"--home", "/cli"}, "/opt/home").homeDir, QStringLiteral("/cli/"));
}

TEST(CommandLine, ScriptDemoAndScreenshotImplyNoSplash) {
    EXPECT_TRUE(parse({"--script", "s.txt"}).noSplash);
    EXPECT_TRUE(parse({"--screenshot", "shots"}).noSplash);
    EXPECT_EQ(parse({"--screenshot", "shots"}).screenshotDir, QStringLiteral("shots"));
    EXPECT_TRUE(parse({"--demo"}).noSplash);
    EXPECT_TRUE(parse({"--demo"}).demo);
}

TEST(CommandLine, BadCommandLinesAreReported) {
    for (const QStringList& arguments : QList<QStringList>{{"--home"},
                                                           {"--script"},
                                                           {"--io-trace"},
                                                           {"--home="},
                                                           {"--fast=1"},
                                                           {"--colour"},
                                                           {"stray"},
                                                           {"--script", "a.txt", "--demo"},
                                                           {"--screenshot"},
                                                           {"--demo", "--screenshot", "d"},
                                                           {"--create-lng"},
                                                           {"--create-lng", "a.lng", "--demo"}}) {
        EXPECT_FALSE(parse(arguments).error.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(CommandLine, CreateLngNamesItsFileAndShowsNoStartUpScreen) {
    const CommandLineOptions options = parse({"--create-lng", "/tmp/French.lng"});
    EXPECT_TRUE(options.error.isEmpty()) << options.error.toStdString();
    EXPECT_EQ(options.createLngPath, QStringLiteral("/tmp/French.lng"));
    EXPECT_TRUE(options.noSplash);
}

TEST(CommandLine, OptionValueMayLookLikeAnOption) {
    // "--script --fast" names a script file called "--fast"; nothing is silently dropped.
    const CommandLineOptions options = parse({"--script", "--fast"});
    EXPECT_EQ(options.scriptPath, QStringLiteral("--fast"));
    EXPECT_FALSE(options.fast);
}

TEST(CommandLine, HelpTextNamesEveryOption) {
    const QString help = CommandLineHelp();
    for (const char* option : {"--home", "--fast", "--io-trace", "--no-splash", "--script",
                               "--demo", "--screenshot", "--create-lng", "--help", "ZELVANOR_HOME"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

} // namespace
} // namespace ymt
