// A paint device whose drawing becomes enhanced-metafile records (through libEMF), so that the
// one DrawGraph of the plot also writes metafiles: lines, rectangles, polygons, rotated text.
#pragma once

#include <QPaintDevice>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace ymt {

class EmfPaintEngine;

class EmfPaintDevice : public QPaintDevice {
public:
    // Starts a metafile of width x height pixels (96 dpi) at path; ok() tells whether it opened.
    EmfPaintDevice(const QString& path, int width, int height);
    ~EmfPaintDevice() override;

    bool ok() const { return dc_ != 0; }
    // Writes the file's last records and closes it; false when writing failed.
    bool finish();

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    quint32 dc_ = 0;       // HDC of libEMF
    void* file_ = nullptr; // FILE*
    int width_;
    int height_;
    std::unique_ptr<EmfPaintEngine> engine_;
};

} // namespace ymt
