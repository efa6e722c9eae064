// Names of the backup copies.
#include "records/SpectrumBackup.h"

#include <gtest/gtest.h>

using namespace ymt;

TEST(Backups, NameJoinsDirectoryTimestampAndSample) {
    EXPECT_EQ(SpectrumBackupName("/b/", "20240131-235959", "PZT 4"),
              "/b/20240131-235959-PZT 4_dia.txt");
}
