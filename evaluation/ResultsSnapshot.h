// The results and the sample description as the window shows them, taken once for a writer:
// the spectrum file, the printout, the protocol and the quality-control record all read the
// same snapshot, and the result labels show the same texts.
#pragma once

#include "evaluation/EvaluationResults.h"
#include "evaluation/QualityControl.h"
#include "evaluation/SampleDescription.h"

#include <QString>

#include <array>
#include <optional>

namespace ymt {

// One result as its label shows it: a number with the label's decimals, or not determined. A
// result read back from a spectrum file keeps the file's text, which may carry other digits
// than the label would give (a hand-edited file).
class ResultValue {
public:
    ResultValue() = default; // not determined
    // A non-finite value is not determined: the texts are also written to files.
    ResultValue(double value, int decimals);
    // A file's text: "---" is not determined, anything else is shown as written.
    static ResultValue FromText(const QString& text, double value);

    bool IsDetermined() const { return value_.has_value(); }
    double Value() const { return value_.value_or(0); } // 0 when not determined

private:
    friend QString ResultText(const ResultValue& result);
    std::optional<double> value_;
    int decimals_ = 0;
    std::optional<QString> kept_;
};

// The text of a result, exactly as its label shows it: "---" when not determined.
QString ResultText(const ResultValue& result);

// The value labels of the tab "Measurement".
struct ShownResults {
    ResultValue Cap;  // nF, 3 decimals
    ResultValue TanD; // in the shown unit (TandUnit), 1 decimal
    ResultValue Eps;  // 0 decimals
    ResultValue Rs;   // ohm, 1 decimal below 10 ohm, else 0
    ResultValue FMin; // kHz, 3 decimals (a manual pick shows the clicked frequency)
    ResultValue FMax; // kHz, 3 decimals
    ResultValue KEff; // %, 2 decimals
    ResultValue KMode;
    ResultValue Q3dB;     // 0 decimals
    ResultValue B3dB;     // kHz, 3 decimals
    ResultValue DeltaLgR; // D [delta lgR], 1 decimal
};

struct ResultsSnapshot {
    SampleDescription Sample;
    // The texts of the sample fields where the writers take the field rather than the
    // description: a typed sample name counts before its field is left, and the notes carry
    // the remark on a simulated spectrum.
    QString SampleNameText;
    QString NotesText;
    QString ElectrodeDistanceText;
    QString ElectrodeAreaText;
    // The analyzer settings as their fields show them.
    QString Averaging;
    QString Voltage;
    QString Bias;
    QString CapFrequency;
    QString TandUnit;    // "[1e-3]" or "[1e-4]"
    QString ModeCaption; // caption of the mode coupling-factor label, e.g. "k31        [%]"
    ShownResults Shown;
    // The evaluation's record (0 for "not determined"); f(min) and f(max) there are the points
    // a manual pick snapped to.
    EvaluationResults Values;
};

// The five values the quality control judges, in QcQuantity order: the evaluation's record
// where the label shows a result, 0 where it shows "---".
std::array<double, kQcQuantityCount> JudgedValues(const ResultsSnapshot& snapshot);

// The remark every record of a spectrum from the simulated analyzer carries in its notes.
inline const QString kSimulatedSpectrumNote =
    QStringLiteral("[simulated analyzer: not a measurement]");
// The notes as the records take them: for a simulated spectrum they end with the remark
// (after a blank), and notes that already hold it keep it once.
QString RecordNotes(const QString& notes, bool simulated);

} // namespace ymt
