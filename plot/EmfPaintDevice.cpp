// The paint engine maps every primitive through the painter's transform itself and keeps one
// GDI pen, brush and font selected, replacing them when the painter's state changes.
#include "plot/EmfPaintDevice.h"

#include "core/TextFile.h"

#include <QFile>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include <libEMF/emf.h>

namespace ymt {

namespace {

COLORREF colorRef(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

} // namespace

class EmfPaintEngine : public QPaintEngine {
public:
    explicit EmfPaintEngine(HDC dc) : QPaintEngine(QPaintEngine::AllFeatures), dc_(dc) {}
    ~EmfPaintEngine() override { releaseObjects(); }

    bool begin(QPaintDevice*) override {
        SetBkMode(dc_, TRANSPARENT);
        SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        SetPolyFillMode(dc_, WINDING);
        selectPen(QPen(Qt::black));
        selectBrush(QBrush());
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform)
            transform_ = state.transform();
        if (state.state() & DirtyPen)
            selectPen(state.pen());
        if (state.state() & DirtyBrush)
            selectBrush(state.brush());
        if (state.state() & DirtyFont)
            font_ = state.font();
    }

    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QPoint a = map(lines[i].p1());
            const QPoint b = map(lines[i].p2());
            MoveToEx(dc_, a.x(), a.y(), nullptr);
            LineTo(dc_, b.x(), b.y());
        }
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF line(lines[i]);
            drawLines(&line, 1);
        }
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QPolygonF corners(rects[i]);
            drawPolygon(corners.constData(), 4, OddEvenMode);
        }
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF rect(rects[i]);
            drawRects(&rect, 1);
        }
    }
    void drawEllipse(const QRectF& rect) override {
        QPainterPath path;
        path.addEllipse(rect);
        drawPath(path);
    }
    void drawPoints(const QPointF* points, int count) override {
        // A point is a line of one pixel, in the pen's colour.
        for (int i = 0; i < count; ++i) {
            const QPoint p = map(points[i]);
            MoveToEx(dc_, p.x(), p.y(), nullptr);
            LineTo(dc_, p.x() + 1, p.y());
        }
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        std::vector<POINT> mapped;
        mapped.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const QPoint p = map(points[i]);
            mapped.push_back(POINT{p.x(), p.y()});
        }
        if (mode == PolylineMode)
            Polyline(dc_, mapped.data(), count);
        else
            Polygon(dc_, mapped.data(), count);
    }
    void drawPath(const QPainterPath& path) override {
        for (const QPolygonF& polygon : path.toSubpathPolygons()) {
            const bool closed = polygon.isClosed();
            drawPolygon(polygon.constData(), static_cast<int>(polygon.size()),
                        closed ? WindingMode : PolylineMode);
        }
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {
        // The plot draws no pictures; a metafile of vectors has no use for one.
    }
    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        const QPoint at = map(position);
        // The painter turns text by its transform; GDI by the font's escapement (0.1 degree).
        const double degrees = -std::atan2(transform_.m12(), transform_.m11()) * 180.0 / M_PI;
        const int escapement = static_cast<int>(std::lround(degrees * 10));
        const QFont font = item.font();
        const int pixelHeight = font.pixelSize() > 0
                                    ? font.pixelSize()
                                    : static_cast<int>(std::lround(font.pointSizeF() * 96 / 72));
        const QByteArray face = EncodeCp1252(font.family());
        HFONT handle =
            CreateFontA(-pixelHeight, 0, escapement, escapement, font.bold() ? FW_BOLD : FW_NORMAL,
                        font.italic(), font.underline(), FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.constData());
        HGDIOBJ previous = SelectObject(dc_, handle);
        SetTextColor(dc_, penColor_);
        const QByteArray text = EncodeCp1252(item.text());
        TextOutA(dc_, at.x(), at.y(), text.constData(), static_cast<int>(text.size()));
        SelectObject(dc_, previous);
        DeleteObject(handle);
    }

private:
    QPoint map(const QPointF& point) const { return transform_.map(point).toPoint(); }

    void selectPen(const QPen& pen) {
        int style = PS_SOLID;
        switch (pen.style()) {
        case Qt::NoPen:
            style = PS_NULL;
            break;
        case Qt::DotLine:
            style = PS_DOT;
            break;
        case Qt::DashLine:
            style = PS_DASH;
            break;
        case Qt::DashDotLine:
            style = PS_DASHDOT;
            break;
        case Qt::DashDotDotLine:
            style = PS_DASHDOTDOT;
            break;
        default:
            break;
        }
        penColor_ = colorRef(pen.color());
        const int width = (std::max)(1, static_cast<int>(std::lround(pen.widthF())));
        HPEN handle = CreatePen(style, width, penColor_);
        SelectObject(dc_, handle);
        if (pen_)
            DeleteObject(pen_);
        pen_ = handle;
    }

    void selectBrush(const QBrush& brush) {
        if (brush.style() == Qt::NoBrush) {
            SelectObject(dc_, GetStockObject(NULL_BRUSH));
            if (brush_)
                DeleteObject(brush_);
            brush_ = 0;
            return;
        }
        HBRUSH handle = CreateSolidBrush(colorRef(brush.color()));
        SelectObject(dc_, handle);
        if (brush_)
            DeleteObject(brush_);
        brush_ = handle;
    }

    void releaseObjects() {
        if (pen_)
            DeleteObject(pen_);
        if (brush_)
            DeleteObject(brush_);
        pen_ = 0;
        brush_ = 0;
    }

    HDC dc_;
    HPEN pen_ = 0;
    HBRUSH brush_ = 0;
    COLORREF penColor_ = 0;
    QTransform transform_;
    QFont font_;
};

EmfPaintDevice::EmfPaintDevice(int width, int height) : width_(width), height_(height) {
    // libEMF throws when a write fails; into memory nothing fails but the memory itself.
    FILE* file = open_memstream(&buffer_, &size_);
    if (!file)
        return;
    // Readers size the picture from the frame (0.01 mm) through the header's reference device,
    // so the frame holds width x height pixels of that device, the drawing's own units. Rounded
    // up: a reader that cuts the fraction off still gets every pixel.
    const auto hundredths = [](int pixels) {
        return static_cast<LONG>(std::ceil(pixels * kEmfMillimetresPerPixel * 100));
    };
    const RECT frame{0, 0, hundredths(width), hundredths(height)};
    HDC dc = 0;
    try {
        dc = CreateEnhMetaFileWithFILEA(0, file, &frame, "Zelvanor Ymt\0plot\0");
    } catch (const std::exception&) {
        dc = 0;
    }
    if (!dc) {
        std::fclose(file);
        return;
    }
    file_ = file;
    dc_ = dc;
    engine_ = std::make_unique<EmfPaintEngine>(dc);
}

EmfPaintDevice::~EmfPaintDevice() {
    finish();
    std::free(buffer_);
}

bool EmfPaintDevice::finish(QByteArray* bytes) {
    if (dc_ == 0)
        return false;
    engine_.reset();
    HENHMETAFILE metafile = 0;
    try {
        metafile = CloseEnhMetaFileWithFILE(static_cast<HDC>(dc_));
    } catch (const std::exception&) {
        metafile = 0;
    }
    dc_ = 0;
    if (metafile)
        DeleteEnhMetaFile(metafile);
    auto* file = static_cast<FILE*>(file_);
    file_ = nullptr;
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
    const bool ok = std::fclose(file) == 0 && flushed && metafile != 0;
    if (ok && bytes)
        *bytes = QByteArray(buffer_, static_cast<qsizetype>(size_));
    return ok;
}

QPaintEngine* EmfPaintDevice::paintEngine() const {
    return engine_.get();
}

int EmfPaintDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return width_;
    case PdmHeight:
        return height_;
    case PdmWidthMM:
        return static_cast<int>(std::lround(width_ * kEmfMillimetresPerPixel));
    case PdmHeightMM:
        return static_cast<int>(std::lround(height_ * kEmfMillimetresPerPixel));
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmDpiY:
        // Fonts are laid out as on the screen and in the bitmaps, so every picture type shows
        // the same drawing pixel for pixel.
        return 96;
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return static_cast<int>(std::lround(25.4 / kEmfMillimetresPerPixel));
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace ymt
