// What the platform's file dialogs are given: the proposed file lies in the working directory.
#include "app/WidgetDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(WidgetDialogs, ABareFileNameIsProposedInTheInitialFolderAndAPathStaysAsItIs) {
    ymt::FileDialogOptions options;
    options.initialDir = QStringLiteral("/home/op/.local/share/zelvanor-ymt/data/");
    options.fileName = QStringLiteral("Disc 7.txt");
    EXPECT_EQ(ymt::ProposedFilePath(options),
              QStringLiteral("/home/op/.local/share/zelvanor-ymt/data/Disc 7.txt"));
    options.fileName = QStringLiteral("/tmp/elsewhere/Disc 7.txt");
    EXPECT_EQ(ymt::ProposedFilePath(options), options.fileName);
    // "*.*" of the directory dialogs and a dialog without a folder are passed on unchanged.
    options.fileName = QStringLiteral("*.*");
    options.initialDir.clear();
    EXPECT_EQ(ymt::ProposedFilePath(options), QStringLiteral("*.*"));
}

} // namespace
