// The binary graph file: little-endian fields without padding, texts as a length byte and a
// fixed field of code-page-1252 characters whose unused bytes are zero.
#include "plot/FastGraph.h"
#include "plot/GraphExport.h"

#include "core/TextFile.h"

#include "core/FileWrite.h"
#include <QtEndian>

#include <cstring>

namespace ymt {
namespace {

class GraphFileWriter {
public:
    void byte(int value) { out_.append(static_cast<char>(value & 0xFF)); }
    void int32(qint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        out_.append(bytes, 4);
    }
    void uint32(quint32 value) { int32(static_cast<qint32>(value)); }
    void real(double value) {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        char bytes[8];
        qToLittleEndian(bits, bytes);
        out_.append(bytes, 8);
    }
    // A length byte and `capacity` character bytes.
    void text(const QString& value, int capacity) {
        const QByteArray bytes = EncodeCp1252(value).left(capacity);
        byte(static_cast<int>(bytes.size()));
        out_.append(bytes);
        out_.append(QByteArray(capacity - bytes.size(), '\0'));
    }
    void axis(const TFastAxis& axis) {
        text(axis.Title(), 80);
        real(axis.Min());
        real(axis.Max());
        byte(axis.Log());
        byte(axis.Autoscale());
        byte(axis.Grid());
        byte(axis.Centered());
        byte(axis.Visible());
        uint32(axis.TitleColor());
    }
    void curve(const Curve& curve) {
        byte(curve.Visible);
        int32(curve.Axis);
        uint32(curve.Color);
        byte(curve.PenStyle);
        int32(curve.Width);
        for (const double bound :
             {curve.MaxX, curve.MinX, curve.MaxY, curve.MinY, curve.MinPosX, curve.MinPosY})
            real(bound);
    }
    QByteArray& bytes() { return out_; }

private:
    QByteArray out_;
};

} // namespace

QByteArray GraphFileBytes(const TFastGraph& graph) {
    GraphFileWriter w;
    w.text(QStringLiteral("FG1.0g"), 6);
    w.text(graph.Title(), 80);
    w.byte(graph.ShowPoints);
    w.uint32(graph.BackgroundColor);
    w.uint32(graph.LineColor);
    w.uint32(graph.GridColor);
    w.int32(graph.TitleFontSize);
    w.axis(graph.XAxis);
    w.axis(graph.YAxis);
    w.axis(graph.Y2Axis);
    const CurveStore& store = graph.store();
    for (int curve = 1; curve <= CurveStore::kCurveCount; ++curve)
        w.int32(store.pointCount(curve));
    for (int number = 1; number <= CurveStore::kCurveCount; ++number) {
        const Curve& curve = store.curve(number);
        if (curve.Points.empty())
            continue;
        w.curve(curve);
        for (const CurvePoint& point : curve.Points) {
            w.real(point.x);
            w.real(point.y);
        }
    }
    w.int32(static_cast<qint32>(graph.Comments.size()));
    for (const QString& line : graph.Comments)
        w.text(line, 200);
    return w.bytes();
}

bool SaveGraphFile(const TFastGraph& graph, const QString& path, QString* error) {
    return WriteFileReplacing(path, GraphFileBytes(graph), error);
}

} // namespace ymt
