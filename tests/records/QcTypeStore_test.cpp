// The type store of "QC.txt": when it asks, and what it leaves when it does not write.
#include "records/QcTypeStore.h"

#include "core/TextFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ymt;

namespace {

class QcTypeStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString programDir = dir.path() + QStringLiteral("/");
    QString backupDir = programDir + QStringLiteral("backup/");
    QString version = QStringLiteral("2.4.5 ");
    QcTypeStore store{programDir, backupDir, version};
    QStringList questions;
    bool answer = true;
    QcConfirm confirm = [this](const QString& question) {
        questions << question;
        return answer;
    };

    QcTypeRecord record(const QString& name, const QString& capRef) const {
        QStringList values(kQcValueLines);
        values[QcLineCapRef] = capRef;
        return {name, values};
    }
    QStringList fileLines() const {
        QStringList lines;
        ReadTextFile(store.path(), lines);
        return lines;
    }
    qsizetype historyCopies() const { return QDir(backupDir).entryList(QDir::Files).size(); }
};

} // namespace

TEST_F(QcTypeStoreTest, AsksOnlyBeforeReplacingAndADeclineWritesNothing) {
    ASSERT_TRUE(store.prepare().ok);
    const QcChangeResult added = store.addOrReplace(record(QStringLiteral("A"), "1"), confirm);
    EXPECT_EQ(added.Outcome, QcChange::Done);
    EXPECT_FALSE(added.Replaced);
    EXPECT_TRUE(questions.isEmpty());

    const QStringList before = fileLines();
    answer = false;
    EXPECT_EQ(store.addOrReplace(record(QStringLiteral("A"), "2"), confirm).Outcome,
              QcChange::Declined);
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(fileLines(), before);

    answer = true;
    const QcChangeResult replaced = store.addOrReplace(record(QStringLiteral("A"), "3"), confirm);
    EXPECT_TRUE(replaced.Replaced);
    EXPECT_EQ(store.read(QStringLiteral("A")).Values->at(QcLineCapRef), QStringLiteral("3"));
    EXPECT_EQ(store.prepare().typeNames, QStringList{QStringLiteral("A")});
}

TEST_F(QcTypeStoreTest, ANameCodePage1252CannotWriteIsRefusedBeforeTheFileIsTouched) {
    const QcChangeResult result = store.addOrReplace(record(QStringLiteral("Typ Ω"), "1"), confirm);
    EXPECT_EQ(result.Outcome, QcChange::Failed);
    EXPECT_TRUE(result.Error.contains(QStringLiteral("Ω")));
    EXPECT_FALSE(QFileInfo::exists(store.path()));
}

TEST_F(QcTypeStoreTest, DeletingANameNoRecordHasNeitherAsksNorRewrites) {
    ASSERT_TRUE(store.prepare().ok);
    ASSERT_EQ(store.addOrReplace(record(QStringLiteral("A"), "1"), confirm).Outcome,
              QcChange::Done);
    const qsizetype copies = historyCopies();
    const QcChangeResult result = store.remove(QStringLiteral("a"), confirm);
    EXPECT_EQ(result.Outcome, QcChange::Done);
    EXPECT_FALSE(result.Replaced);
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(historyCopies(), copies);

    EXPECT_TRUE(store.remove(QStringLiteral("A"), confirm).Replaced);
    EXPECT_FALSE(store.read(QStringLiteral("A")).Values);
    EXPECT_EQ(historyCopies(), copies + 1);
}

TEST_F(QcTypeStoreTest, AMissingFileIsAnErrorNamingIt) {
    const QcReadResult read = store.read(QStringLiteral("A"));
    EXPECT_FALSE(read.Ok);
    EXPECT_TRUE(read.Error.startsWith(store.path() + QStringLiteral(": ")));
    EXPECT_EQ(store.remove(QStringLiteral("A"), confirm).Outcome, QcChange::Failed);
}
