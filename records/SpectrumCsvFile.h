// "Save Spectrum..." as CSV for Python and spreadsheets, and the spectrum content of the files
// "Open Spectrum..." takes beside the program's own: the CSV and the analyzer's data file.
#pragma once

#include "core/AnalyzerDataFile.h"
#include "core/FileTypeFilter.h"
#include "core/SpectrumCsv.h"
#include "evaluation/ResultsSnapshot.h"
#include "plot/curves/CurveStore.h"
#include "records/SpectrumFile.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

namespace ymt {

// The file types of "Open Spectrum..." and "Add Curve(s) to Set...", in the operator's
// language. The first line of a file decides how it is read, whichever type was chosen.
inline QString SpectrumOpenFilter() {
    return FileTypeFilter(Txt::FilterSpectrumOpen);
}

// The whole CSV file, UTF-8 with LF: the sample description, the analyzer settings and the
// results as "# key: value" lines, the column titles, then the points of curves 3 and 4. With
// visibleRange, only points strictly inside (min, max) are written.
QByteArray SpectrumCsvBytes(const ResultsSnapshot& snapshot, const QString& dateTime,
                            const CurveStore& store,
                            std::optional<std::pair<double, double>> visibleRange);

// What "Open Spectrum..." shows of a CSV file: the description and results its keys name.
SpectrumFileContent SpectrumContentOfCsv(const SpectrumCsvRead& csv);

// What it shows of an analyzer data file: the file name as the sample, the date and the
// settings in the notes, no results.
SpectrumFileContent SpectrumContentOfAnalyzerData(const AnalyzerDataFile& file,
                                                  const QString& fileName);

// Reads the program's spectrum file, a CSV file or an analyzer data file, whichever the first
// line names. A refused CSV or analyzer file gives status Refused with the reason in error.
SpectrumFileRead ReadAnySpectrumFile(const QString& path);

} // namespace ymt
