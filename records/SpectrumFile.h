// The spectrum text file: 21 header lines (sample description, results, column titles) and one
// row per point, code page 1252 with CR LF. Written by "Save Spectrum..." and the backups,
// read by "Open Spectrum...".
#pragma once

#include "core/SpectrumRows.h"
#include "evaluation/ResultsSnapshot.h"
#include "plot/curves/CurveStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

// What the file holds beside the results snapshot.
struct SpectrumFileExtras {
    bool German = false;
    QString DateTime; // "<short date> / <long time>"
    bool FirstDisplayPair = true;
    QString LeftAxisTitle;
    QString RightAxisTitle;
};

// The first line's date and time: "<short date> / <long time>" in the system locale, without
// the time zone the long time format names.
QString SpectrumFileDateTime(const QDateTime& dateTime);

// 16 characters: sign (blank or "-"), d.ddddddd, "E", exponent sign and four digits.
QByteArray SpectrumNumberText(double value);

// A label, blanks up to the next multiple of 24, then ": ".
QString SpectrumLabelField(const QString& label);

// The display columns are written only when curves 1 and 2 are as long as the spectrum; a
// shorter display curve gives the three measured columns under the titles of the first pair.
bool WritesDisplayColumns(const SpectrumFileExtras& extras, const CurveStore& store);

// Lines 1 to 21.
QStringList SpectrumHeaderLines(const ResultsSnapshot& snapshot, const SpectrumFileExtras& extras,
                                bool displayColumns);

// The whole file. With visibleRange, only points strictly inside (min, max) are written.
QByteArray SpectrumFileBytes(const ResultsSnapshot& snapshot, const SpectrumFileExtras& extras,
                             const CurveStore& store,
                             std::optional<std::pair<double, double>> visibleRange);

// ---- Reading ----

struct SpectrumFileContent {
    QString measuredBy;
    QString material;
    QString sampleName;
    QString notes;
    QString electrodeDistance;
    QString electrodeArea;
    QString capacitanceFrequency;
    QString capacitance;
    double tand = 0;      // units of 1e-4
    bool hasTand = false; // false for "---": never measured, which 0.0 would not say
    QString eps;
    QString fmin;
    QString fmax;
    QString keff;
    int couplingType = -1; // 0 k31, 1 k33, 2 kt, 3 k15, 4 kp; -1 when line 17 names none
    QString kmode;
    bool hasQuality = false;
    QString q3db;
    QString b3db;
    double b3dbValue = 0;
    QString leftAxisTitle;
    QString rightAxisTitle;
    SpectrumRows rows;
};

// NotAFile: a folder; NotARegularFile: a FIFO, a device or a socket, never opened, since reading
// one may wait for a writer or never end.
enum class SpectrumReadStatus {
    Ok,
    NotFound,
    NotAFile,
    NotARegularFile,
    CannotRead,
    UnknownFormat,
    TooManyRows,
    Refused // a CSV or analyzer data file the program cannot take; error says why
};

struct SpectrumFileRead {
    SpectrumReadStatus status = SpectrumReadStatus::Ok;
    QString error; // the platform's message for CannotRead, the reason for Refused
    SpectrumFileContent content;
    // Set for the analyzer's data files and the CSV files: points with theta outside -90 ... 90
    // degrees (a fixture connected the other way round), kept as measured.
    int phasesOutside90 = 0;
};

// Reads the whole file before anything is applied, so that a bad file changes nothing.
SpectrumFileRead ReadSpectrumFile(const QString& path, qint64 maxRows = kMaxSpectrumRows);
SpectrumFileRead ReadSpectrumFile(QIODevice& device, qint64 maxRows = kMaxSpectrumRows);

// "Measured by" from line 1: after " -- " when the line has it, else after " von " or " by ".
QString MeasuredByFromTitleLine(const QString& line);
// Coupling-factor type named by line 17 (last match of k31, k33, kt, k15, kp in that order).
int CouplingTypeFromLine(const QString& line);
// The loss tangent of line 12 in units of 1e-4.
double LossTangentFromLine(const QString& line);

} // namespace ymt
