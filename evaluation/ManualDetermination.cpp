// The manual determination of f(min) and f(max) by two clicks.
#include "evaluation/ManualDetermination.h"

#include "core/Misc.h"
#include "localisation/TextTables.h"
#include "plot/curves/GraphInteraction.h"

#include <cmath>
#include <utility>

namespace ymt {

int NearestPointIndex(const CurveStore& store, double f) {
    return NearestPointIndex(store, kImpedanceCurve, f);
}

ManualStartOutcome StartManualDetermination(const CurveStore& store,
                                            const ManualPickState& current) {
    ManualStartOutcome outcome;
    outcome.State = current;
    if (store.pointCount(kImpedanceCurve) == 0) {
        outcome.Error = TableMessage(EvaluationMessageKind::Error, EvaluationButtons::OK,
                                     Msg::NoMeasurementData);
        return outcome;
    }
    ManualPickState& s = outcome.State;
    s.MinMarker = 0;
    s.MaxMarker = 0;
    s.ShowMarkers = true;
    s.AwaitMinClick = true;
    s.AwaitMaxClick = false;
    s.PlotPrompt = Message(Msg::ClickZMinimum);
    outcome.SelectImpedancePair = true;
    return outcome;
}

MinClickOutcome ManualMinClick(const ManualPickState& current, double f) {
    MinClickOutcome outcome;
    ManualPickState& s = outcome.State;
    s = current;
    s.AwaitMaxClick = true;
    s.AwaitMinClick = false;
    s.MinMarker = f;
    s.MaxMarker = 0;
    s.ShowMarkers = true;
    s.PlotPrompt = Message(Msg::ClickZMaximum);
    outcome.FMin = ResultValue(f, 3);
    return outcome;
}

MaxClickOutcome ManualMaxClick(const CurveStore& store, const ManualPickState& current,
                               const EvaluationResults& results, double f, PassInputs inputs) {
    MaxClickOutcome outcome;
    ManualPickState& s = outcome.State;
    s = current;
    s.AwaitMaxClick = false;
    s.MaxMarker = f;

    EvaluationResults snapped = results;
    int minIndex = NearestPointIndex(store, s.MinMarker);
    int maxIndex = NearestPointIndex(store, s.MaxMarker);
    // The pass puts reversed clicks in order; the snapped points follow so that Rs is the
    // |Z| at the lower frequency and the point-count check sees a non-negative span.
    if (minIndex >= 0 && maxIndex >= 0 && maxIndex < minIndex)
        std::swap(minIndex, maxIndex);
    if (minIndex >= 0) {
        const CurvePoint p = store.point(kImpedanceCurve, minIndex);
        snapped.FMin = p.x;
        snapped.ZMin = p.y;
        snapped.IndexMin = minIndex;
    }
    if (maxIndex >= 0) {
        const CurvePoint p = store.point(kImpedanceCurve, maxIndex);
        snapped.FMax = p.x;
        snapped.ZMax = p.y;
        snapped.IndexMax = maxIndex;
    }

    inputs.FA = s.MaxMarker;
    inputs.FB = s.MinMarker;
    outcome.Pass = koppelfaktor(store, snapped, inputs);
    s.ShowMarkers = outcome.Pass.ShowMarkers;
    s.PlotPrompt.clear();
    return outcome;
}

} // namespace ymt
