// Quality control as the window runs it: the type list and its file "QC.txt", the reference and
// tolerance fields, and the check `qcontrol` with its verdict labels and popup.
#include "app/MainWindow.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"
#include "records/QcTypeFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

std::array<double, ymt::kQcQuantityCount> TForm1::judgedValues() const {
    return ymt::JudgedValues(resultsSnapshot());
}

// "---" is no verdict: the label goes back to the window's own text colour.
void TForm1::clearVerdictColor(QLabel* verdict) {
    verdict->setPalette(QPalette());
}

void TForm1::qcontrol() {
    const bool typeSelected = qcTypeList->currentIndex() >= 1;
    const ymt::QcOutcome outcome = ymt::JudgeSample(typeSelected, QcLimits, judgedValues());
    const QString defect = ymt::Label(programLanguageGroup->itemIndex() == 1 ? 1 : 0, 1);
    QLabel* verdicts[] = {qcCapVerdict, qcTandVerdict, qcKeffVerdict, qcKVerdict, qcFminVerdict};
    for (int i = 0; i < ymt::kQcQuantityCount; ++i) {
        const ymt::QcVerdict verdict = outcome.Verdicts[std::size_t(i)];
        verdicts[i]->setText(ymt::VerdictText(verdict, defect));
        if (verdict == ymt::QcVerdict::NotChecked) {
            clearVerdictColor(verdicts[i]);
            continue;
        }
        QPalette palette = verdicts[i]->palette();
        palette.setColor(QPalette::WindowText, ymt::toQColor(ymt::VerdictColor(verdict)));
        verdicts[i]->setPalette(palette);
    }
    // The repeat measurement runs unattended: the verdict shows, but no box waits for a click.
    if (!outcome.Failed || !aggressiveQcCheck->isChecked() || seriesRunning())
        return;
    // The box names what failed, as the verdict captions call it.
    QStringList failed;
    for (int i = 0; i < ymt::kQcQuantityCount; ++i)
        if (outcome.Verdicts[std::size_t(i)] == ymt::QcVerdict::Defect)
            failed << qcVerdictCaptions[std::size_t(i)]->text().trimmed();
    dialogs().showMessage(ymt::MessageKind::Warning,
                          ymt::Message(ymt::Msg::QcTestFailedForType) + qcTypeList->currentText() +
                              QStringLiteral(" ! (") + failed.join(QStringLiteral(", ")) +
                              QLatin1Char(')'),
                          ymt::ButtonSet::OK);
}

void TForm1::applyQcField(int field) {
    QLineEdit* edit = qcEdits[std::size_t(field)];
    edit->setText(ymt::QcLimitText(field, ymt::ParseNumber(edit->text())));
    // The check uses the value as the field shows it.
    const double shown = ymt::ParseNumber(edit->text());
    ymt::QcLimit& limit = QcLimits[std::size_t(field / 2)];
    (field % 2 == 0 ? limit.Reference : limit.Tolerance) = shown;
    qcontrol();
}

// Fields from the value lines of a record (file order); the values follow what they show.
void TForm1::showQcTexts(const QStringList& texts) {
    for (int field = 0; field < 10; ++field) {
        const int line = ymt::QcRecordLineOfField(field);
        qcEdits[std::size_t(field)]->setText(line < texts.size() ? texts[line] : QString());
        const double value = ymt::ParseNumber(qcEdits[std::size_t(field)]->text());
        ymt::QcLimit& limit = QcLimits[std::size_t(field / 2)];
        (field % 2 == 0 ? limit.Reference : limit.Tolerance) = value;
    }
    HullCurveFile = ymt::QcLineHullCurve < texts.size() ? texts[ymt::QcLineHullCurve] : QString();
    hullCurveEdit->setText(HullCurveFile);
}

QStringList TForm1::qcRecordValues() const {
    std::array<QString, 10> fields;
    for (std::size_t field = 0; field < fields.size(); ++field)
        fields[field] = qcEdits[field]->text();
    return ymt::QcRecordValues(fields, hullCurveEdit->text());
}

void TForm1::ComboBox2Change() {
    if (qcTypeList->currentIndex() <= 0) {
        const QString cap = QStringLiteral("0.0000000"), one = QStringLiteral("0.0");
        const QString fmin = QStringLiteral("0.000");
        showQcTexts({cap, cap, one, one, one, one, QString(), fmin, fmin, one, one});
        qcontrol();
        return;
    }
    const ymt::QcReadResult read = QcTypes.read(qcTypeList->currentText());
    if (!read.Ok) {
        dialogs().showMessage(ymt::MessageKind::Error, read.Error, ymt::ButtonSet::OK);
        return;
    }
    if (read.Values)
        showQcTexts(*read.Values);
    qcontrol();
}

bool TForm1::confirmQcChange(const QString& question) {
    return dialogs().showMessage(ymt::MessageKind::Warning, question, ymt::ButtonSet::OKAbort) ==
           ymt::DialogButton::OK;
}

void TForm1::Button22Click() {
    if (addOrReplaceQcType())
        qcontrol();
}

bool TForm1::addOrReplaceQcType() {
    const QString name = qcTypeList->currentText();
    const ymt::QcChangeResult change = QcTypes.addOrReplace(
        {name, qcRecordValues()}, [this](const QString& q) { return confirmQcChange(q); });
    if (change.Outcome == ymt::QcChange::Failed)
        dialogs().showMessage(ymt::MessageKind::Error, change.Error, ymt::ButtonSet::OK);
    if (change.Outcome != ymt::QcChange::Done)
        return false;
    // The list changes only once the file holds the type.
    int position = qcTypeList->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!change.Replaced || position < 1) {
        qcTypeList->addItem(name);
        position = qcTypeList->count() - 1;
    }
    qcTypeList->setCurrentIndex(position);
    dialogs().showMessage(ymt::MessageKind::Information, name + ymt::Message(ymt::Msg::Added),
                          ymt::ButtonSet::OK);
    return true;
}

void TForm1::Button23Click() {
    const QStringList texts = ymt::TenPercentQcRecord(judgedValues());
    qcTypeList->setEditText(Sample.SampleName);
    showQcTexts(texts);
    addOrReplaceQcType();
    qcontrol();
}

void TForm1::Button24Click() {
    const QString name = qcTypeList->currentText();
    const ymt::QcChangeResult change =
        QcTypes.remove(name, [this](const QString& q) { return confirmQcChange(q); });
    if (change.Outcome == ymt::QcChange::Failed)
        dialogs().showMessage(ymt::MessageKind::Error, change.Error, ymt::ButtonSet::OK);
    if (change.Outcome != ymt::QcChange::Done)
        return;
    // The item of that name goes (a typed name that is no item removes nothing).
    const int position = qcTypeList->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (position >= 1)
        qcTypeList->removeItem(position);
    qcTypeList->setCurrentIndex(0);
    const QString cap = QStringLiteral("0.000000"), one = QStringLiteral("0.0");
    const QString fmin = QStringLiteral("0.000");
    showQcTexts({cap, cap, one, one, one, one, QString(), fmin, fmin, one, one});
    qcontrol();
}
