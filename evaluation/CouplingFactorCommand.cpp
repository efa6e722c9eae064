// The automatic coupling-factor command.
#include "evaluation/CouplingFactorCommand.h"

#include "evaluation/Thresholds.h"
#include "localisation/TextTables.h"

namespace ymt {

CouplingSearchOutcome SearchForCouplingFactor(const CurveStore& store, double windowMin,
                                              double windowMax, const EvaluationResults& results,
                                              const QString& couplingThresholdText,
                                              bool readMoreEnabled, bool afterReadMore) {
    CouplingSearchOutcome outcome;
    outcome.Results = results;
    outcome.Steps = getminmax(store, windowMin, windowMax, outcome.Results);
    if (outcome.Steps < 0) {
        outcome.Next = CommandStep::Stop;
        outcome.Message =
            EvaluationMessage{EvaluationMessageKind::Error, EvaluationButtons::OK, {}, kNoDataText};
        return outcome;
    }
    const qint64 wanted = 2 * static_cast<qint64>(ThresholdValue(couplingThresholdText));
    if (!afterReadMore && readMoreEnabled && outcome.Steps < wanted) {
        outcome.Next = CommandStep::AskReadMore;
        outcome.Message =
            TableMessage(EvaluationMessageKind::Warning, EvaluationButtons::OKAbortIgnore,
                         Msg::VeryFewPointsReadMore);
        return outcome;
    }
    outcome.Next = CommandStep::Evaluate;
    return outcome;
}

CouplingCommandOutcome FinishCouplingFactorCommand(const CurveStore& store,
                                                   const EvaluationResults& results,
                                                   PassInputs inputs) {
    CouplingCommandOutcome outcome;
    if (!(results.FMax >= results.FMin)) {
        outcome.Message =
            TableMessage(EvaluationMessageKind::Error, EvaluationButtons::OK, Msg::MaxZBelowMinZ);
        return outcome;
    }
    inputs.FA = results.FMax;
    inputs.FB = results.FMin;
    outcome.Pass = koppelfaktor(store, results, inputs);
    outcome.PassRan = true;
    outcome.Message = outcome.Pass.Message;
    outcome.MaxMarker = results.FMax;
    outcome.MinMarker = results.FMin;
    return outcome;
}

} // namespace ymt
