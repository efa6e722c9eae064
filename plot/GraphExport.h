// The plot leaves the program as a file: pictures drawn by the same DrawGraph as the screen
// (enhanced metafile, bitmap, JPEG, PNG, SVG, PDF) and the binary graph file.
#pragma once

#include "core/FileTypeFilter.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ymt {

class TFastGraph;

enum class GraphImageType { Emf, Bmp, Jpeg, Png, Svg, Pdf };

// The file types "Save Spectrum..." offers: the spectrum text file, then the pictures in
// GraphImageType order, then the CSV file; in the operator's language.
inline QString SpectrumSaveFilter() {
    return FileTypeFilter(Txt::FilterSpectrumSave);
}
struct SpectrumSaveType {
    std::optional<GraphImageType> image; // none for the spectrum text file and the CSV file
    bool csv = false;                    // the exchange file for Python and spreadsheets
    QString extension;
};
// The type of a 1-based filter index; an index outside the filter is the nearest type.
SpectrumSaveType SpectrumSaveTypeAt(int filterIndex);
// The chosen path, with the type's extension added when its file name has none.
QString WithSaveExtension(const QString& path, const SpectrumSaveType& type);

// Draws the plot at its current size in pixels into the file, whatever the file's extension.
// False with a message naming the file when it cannot be written; an existing file is replaced
// only by a complete new one.
bool SaveGraphImage(TFastGraph& graph, GraphImageType type, const QString& path, QString* error);

// Sizes of the graph file's records, as their field lists add up.
inline constexpr int kGraphAxisRecordSize = 106;
inline constexpr int kGraphCurveRecordSize = 62;

// The binary graph file of the plot: signature, title, colours, three axis records, point
// counts, the curves with points, the comment lines.
QByteArray GraphFileBytes(const TFastGraph& graph);
bool SaveGraphFile(const TFastGraph& graph, const QString& path, QString* error);

} // namespace ymt
