// A paint device whose drawing becomes enhanced-metafile records (through libEMF), so that the
// one DrawGraph of the plot also writes metafiles: lines, rectangles, polygons, rotated text.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace ymt {

class EmfPaintEngine;

// The reference device every metafile names in its header (the library's own: 1024 x 768
// pixels on 320 x 240 mm, about 81 dpi); one pixel of the drawing is one of its pixels.
inline constexpr int kEmfDevicePixelsX = 1024;
inline constexpr int kEmfDeviceMillimetresX = 320;
inline constexpr double kEmfMillimetresPerPixel =
    static_cast<double>(kEmfDeviceMillimetresX) / kEmfDevicePixelsX;

class EmfPaintDevice : public QPaintDevice {
public:
    // Starts a metafile of width x height pixels of the reference device in memory; ok() tells
    // whether it started. The file is written by the caller, so a full disk is reported like
    // any other.
    EmfPaintDevice(int width, int height);
    ~EmfPaintDevice() override;

    bool ok() const { return dc_ != 0; }
    // Ends the metafile and puts its bytes in *bytes; false when libEMF failed.
    bool finish(QByteArray* bytes = nullptr);

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    quint32 dc_ = 0;       // HDC of libEMF
    void* file_ = nullptr; // FILE* of an open_memstream
    char* buffer_ = nullptr;
    size_t size_ = 0;
    int width_;
    int height_;
    std::unique_ptr<EmfPaintEngine> engine_;
};

} // namespace ymt
