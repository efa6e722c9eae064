// Picture files of a plot. Every type is drawn by DrawGraph into (0, 0, width, height) and
// written to a temporary file that replaces the target only when it is complete.
#include "plot/GraphExport.h"

#include "core/TextCatalogue.h"
#include "plot/EmfPaintDevice.h"
#include "plot/FastGraph.h"

#include "core/FileWrite.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ymt {
namespace {

QSize pictureSize(const TFastGraph& graph) {
    return QSize(std::max(1, graph.width()), std::max(1, graph.height()));
}

void draw(TFastGraph& graph, QPaintDevice& device, const QSize& size) {
    QPainter painter(&device);
    graph.DrawGraph(painter, QRect(QPoint(0, 0), size));
}

QImage bitmapOf(TFastGraph& graph) {
    const QSize size = pictureSize(graph);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    draw(graph, image, size);
    return image;
}

bool failed(QString* error, const QString& path, const QString& reason) {
    if (error)
        *error = path + QStringLiteral(": ") + reason;
    return false;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Baseline colour JPEG at quality 75, in memory.
bool encodeJpeg(const QImage& image, QByteArray& out) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return true;
}

bool saveEmf(TFastGraph& graph, const QString& path, QString* error) {
    const QSize size = pictureSize(graph);
    QByteArray bytes;
    {
        EmfPaintDevice device(size.width(), size.height());
        if (!device.ok())
            return failed(error, path, Text(Txt::ExportMetafile));
        draw(graph, device, size);
        if (!device.finish(&bytes))
            return failed(error, path, Text(Txt::ExportMetafile));
    }
    return WriteFileReplacing(path, bytes, error);
}

} // namespace

bool SaveGraphImage(TFastGraph& graph, GraphImageType type, const QString& path, QString* error) {
    switch (type) {
    case GraphImageType::Emf:
        return saveEmf(graph, path, error);
    case GraphImageType::Bmp:
    case GraphImageType::Png: {
        // Pictures are made in memory and written in one checked piece (see WriteFileReplacing).
        QByteArray bytes;
        QBuffer file(&bytes);
        file.open(QIODevice::WriteOnly);
        // PNG at a light compression: a plot is mostly flat colour, so the file stays small
        // while the picture is written several times faster than at zlib's default.
        const int quality = type == GraphImageType::Png ? 80 : -1;
        if (!bitmapOf(graph).save(&file, type == GraphImageType::Bmp ? "BMP" : "PNG", quality))
            return failed(error, path, Text(Txt::ExportNotEncoded));
        return WriteFileReplacing(path, bytes, error);
    }
    case GraphImageType::Jpeg: {
        QByteArray bytes;
        if (!encodeJpeg(bitmapOf(graph), bytes))
            return failed(error, path, Text(Txt::ExportJpeg));
        return WriteFileReplacing(path, bytes, error);
    }
    case GraphImageType::Svg: {
        QByteArray bytes;
        QBuffer file(&bytes);
        file.open(QIODevice::WriteOnly);
        const QSize size = pictureSize(graph);
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(graph.Title());
        draw(graph, svg, size);
        return WriteFileReplacing(path, bytes, error);
    }
    case GraphImageType::Pdf: {
        QByteArray bytes;
        QBuffer file(&bytes);
        file.open(QIODevice::WriteOnly);
        const QSize size = pictureSize(graph);
        {
            QPdfWriter pdf(&file);
            pdf.setResolution(96);
            pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf.setTitle(graph.Title());
            pdf.setCreator(QStringLiteral("Zelvanor Ymt"));
            draw(graph, pdf, size);
        }
        return WriteFileReplacing(path, bytes, error);
    }
    }
    return failed(error, path, Text(Txt::ExportUnknownType));
}

SpectrumSaveType SpectrumSaveTypeAt(int filterIndex) {
    static const char* const extensions[] = {"txt", "wmf", "bmp", "jpg",
                                             "png", "svg", "pdf", "csv"};
    const int type = std::clamp(filterIndex, 1, 8);
    SpectrumSaveType chosen;
    chosen.csv = type == 8;
    if (type > 1 && !chosen.csv)
        chosen.image = static_cast<GraphImageType>(type - 2);
    chosen.extension = QLatin1String(extensions[type - 1]);
    return chosen;
}

QString WithSaveExtension(const QString& path, const SpectrumSaveType& type) {
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + type.extension;
}

} // namespace ymt
