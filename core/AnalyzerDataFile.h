// The data file the HP 4294A saves to its own disk: a first line naming the instrument, quoted
// "KEY: value" settings, then one block per trace (A the magnitude, B the phase in degrees), each
// a quoted column-title row and tab-separated rows of frequency [Hz] and the trace's values.
// Pure text reading, so that both the spectrum files and the simulated analyzer's playback use it.
#pragma once

#include "core/SpectrumRows.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

#include <vector>

namespace ymt {

// True when the first line is the one the analyzer writes ("4294A REV1.11").
bool IsAnalyzerDataFirstLine(QByteArrayView line);

struct AnalyzerDataFile {
    QString firstLine; // "4294A REV1.11"
    QString date;      // as written, also a wrong one ("52 -100"); empty when the file has none
    bool admittance = false;
    // Every quoted "KEY: value" before the first trace, in file order (DATE among them).
    QList<QPair<QString, QString>> settings;
    // Sorted by frequency (kHz), |Z| in ohm, theta in degrees, kept as measured.
    std::vector<SpectrumPoint> points;
    int phasesOutside90 = 0; // points whose theta lies outside -90 ... 90 degrees
};

struct AnalyzerDataRead {
    bool ok = false;
    QString error; // for the operator; names the line when one is at fault
    AnalyzerDataFile file;
};

// Reads the whole file's bytes: both traces must be there, as long as each other and at the same
// frequencies, every row complete; anything else gives an error and no points.
AnalyzerDataRead ParseAnalyzerDataFile(QByteArrayView bytes);

// The date and the settings as one line for the notes of the spectrum:
// "4294A REV1.11, DATE: Jun 11 2002; MEASURE PARAMETER: ...; ADAPTER: 7mm; ...".
QString AnalyzerDataNotes(const AnalyzerDataFile& file);

} // namespace ymt
