// The fixed command strings of the two analyzer models, one table each. HP4x94A.cpp holds the
// few behaviours that really differ (splitting and serial polls of the HP 4194A, the
// operation-complete query of the HP 4294A, number formats of computed commands).
#pragma once

#include <QStringList>

namespace ymt {

struct AnalyzerCommandTable {
    // Each list entry is one SendCommand, in order.
    QStringList preset;
    QString startQuery, stopQuery;
    QStringList scalesA[2], scalesB[2]; // [0] linear, [1] logarithmic
    QString sweepMode[2];               // [0] single, [1] continuous
    QStringList compensation[2];        // [0] off, [1] on
    QString measureOpen, measureShort, measureSweep, autoscale;
    QString functions[21]; // display pair codes 1-21
    // The frequency span of the model after a preset, in kHz: what Connect falls back to when
    // the analyzer does not report its own.
    double spanStartKHz, spanStopKHz;
};

const AnalyzerCommandTable& Hp4194CommandTable();
const AnalyzerCommandTable& Hp4294CommandTable();

} // namespace ymt
