// The "Coupling Factor" command (Button10Click): search, the point-count question, the order
// check and the evaluation pass, split at the one question the window must ask.
//
// Wiring in the window:
//   auto search = SearchForCouplingFactor(store, XAxis.Min, XAxis.Max, results,
//                                         Edit48->text(), readMoreEnabled);
//   results = search.Results;                  // the search's values stay even on Abort
//   if (search.Next == CommandStep::Stop) { show search.Message; return; }
//   if (search.Next == CommandStep::AskReadMore) {
//       ask search.Message (warning, OK / Abort / Ignore);
//       Abort -> return;  Ignore or closed -> go on;
//       OK -> Read More Points, then
//             search = SearchForCouplingFactor(..., results, ..., readMoreEnabled,
//                                              /*afterReadMore=*/true);
//             results = search.Results; if (search.Next == CommandStep::Stop) { show; return; }
//   }
//   auto finish = FinishCouplingFactorCommand(store, results, passInputsWithoutFrequencies);
//   show finish.Message if set; if finish.PassRan: results = finish.Pass.Results, write the
//   labels, ShowMarkers, MinMarker/MaxMarker, repaint, then the hooks (protocol, qcontrol).
#pragma once

#include "evaluation/EvaluationMessage.h"
#include "evaluation/EvaluationResults.h"
#include "evaluation/ResonanceEvaluation.h"
#include "plot/curves/CurveStore.h"

#include <QString>

#include <optional>

namespace ymt {

// Fixed text, not from the message table.
inline const QString kNoDataText = QStringLiteral("No Data!");

enum class CommandStep {
    Stop,        // show Message (error, OK) and end the command
    AskReadMore, // ask Message (warning, OK / Abort / Ignore)
    Evaluate     // go on with FinishCouplingFactorCommand
};

struct CouplingSearchOutcome {
    CommandStep Next = CommandStep::Stop;
    EvaluationResults Results; // the record after the search (unchanged on "No Data!")
    int Steps = -1;            // getminmax's result; -1 when no point lies inside the window
    std::optional<EvaluationMessage> Message;
};

// Steps 1-3: "No Data!" when curve 3 is empty or no point of it lies strictly inside the window
// (nothing changes then); otherwise the search, and the question "Very few measurement
// points! Read More?" when fewer than 2 x "Coupling Factors" steps separate min and max and
// Read More Points is enabled. afterReadMore: the repeated search after OK; it asks nothing.
CouplingSearchOutcome SearchForCouplingFactor(const CurveStore& store, double windowMin,
                                              double windowMax, const EvaluationResults& results,
                                              const QString& couplingThresholdText,
                                              bool readMoreEnabled, bool afterReadMore = false);

struct CouplingCommandOutcome {
    bool PassRan = false;
    PassOutcome Pass; // valid when PassRan
    // "Max|Z| must be higher than Min|Z|!" when the pass did not run, else the pass's message.
    std::optional<EvaluationMessage> Message;
    // Set after the pass: MaxMarker = FMax, MinMarker = FMin, then repaint.
    double MinMarker = 0;
    double MaxMarker = 0;
};

// Step 4: koppelfaktor(FMax, FMin) when FMax >= FMin; inputs.FA and inputs.FB are ignored.
CouplingCommandOutcome FinishCouplingFactorCommand(const CurveStore& store,
                                                   const EvaluationResults& results,
                                                   PassInputs inputs);

} // namespace ymt
