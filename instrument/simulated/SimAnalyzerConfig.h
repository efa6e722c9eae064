// Configuration of one simulated analyzer: which model it is, the sample in its holder,
// measurement noise and the faults it injects for reliability tests. Read from a device
// section of sicl.conf or built directly by tests.
//
// Faults ("fault = <kind> [query or count]", one per line, active on every reply):
//   drop-reply [Q]     the reply to query Q (all queries without Q) never comes
//   late-reply [Q]     the reply comes late_ms (default 5000) after the query
//   garbage-reply [Q]  the reply is text without any digit
//   empty-reply [Q]    the reply is only its line end
//   oversize-reply [Q] the reply is followed by 400 blanks before its line end
//   short-trace N      traces end after N values
//   extra-values N     traces carry N values more than the analyzer has points
// (N is limited to kMaxFaultValues, late_ms to one hour)
//   no-srq             the service request is never raised
#pragma once

#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/RecordedSample.h"
#include "instrument/simulated/SampleModel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace ymt::sim {

enum class AnalyzerModel { Auto, HP4194A, HP4294A };

enum class FaultKind {
    DropReply,
    LateReply,
    GarbageReply,
    EmptyReply,
    OversizeReply,
    ShortTrace,
    ExtraValues,
    NoServiceRequest
};

inline constexpr int kMaxFaultValues = 100000;

struct Fault {
    FaultKind kind = FaultKind::DropReply;
    QString query; // upper-case query header ("A?", "*OPC?"); empty = every query
    int count = 0; // values for ShortTrace and ExtraValues
};

struct SimAnalyzerConfig {
    AnalyzerModel model = AnalyzerModel::Auto;
    SampleModel sample = DefaultSampleModel();
    // "sample = file PATH": answers from the recording instead of the model (RecordedSample.h).
    std::shared_ptr<const RecordedSample> recording;
    double noise = 0; // relative standard deviation of the complex impedance
    unsigned seed = 1;
    int lateReplyMs = 5000;
    QList<Fault> faults;

    // The fault of that kind that applies to the query, or null.
    const Fault* fault(FaultKind kind, const QByteArray& queryHeader = {}) const;
};

SimAnalyzerConfig parseSimAnalyzerConfig(const sicl::KeyValueList& lines,
                                         QStringList* problems = nullptr);

} // namespace ymt::sim
