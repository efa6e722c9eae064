// The two point thresholds of the tab "Options" ("Coupling Factors" and "Figure of Merit
// Q(3dB)"): how their texts are read by the exit handlers and by the evaluation pass.
#pragma once

#include "evaluation/EvaluationMessage.h"

#include <QString>

#include <optional>

namespace ymt {

// Below this many point steps the exit handlers warn about precision (message 67).
inline constexpr int kRecommendedThresholdPoints = 20;

// The exit handlers' reading: leading blanks skipped, then the leading digits (none gives 0);
// a value below 1 becomes 1. Values beyond the int range saturate.
int ReadThresholdText(const QString& text);

// The reading at the moment of use (evaluation pass, "Coupling Factor" command): a text
// that is a whole number (optional sign, surrounding blanks allowed) is taken as it stands;
// any other text is read as the exit handler reads it, so "12a" counts as 12 and "" as 1.
int ThresholdValue(const QString& text);

// Outcome of Edit48Exit / Edit49Exit: write Text back into the edit and show Warning, if set
// (warning box, OK), when the value is below 20.
struct ThresholdEditOutcome {
    int Value = 1;
    QString Text;
    std::optional<EvaluationMessage> Warning;
};
ThresholdEditOutcome ThresholdEditExit(const QString& text);

} // namespace ymt
