// Shared by the graph and evaluation window tests: a spectrum of the simulated default sample
// put straight into curves 3 and 4 of the measurement plot, and a drawn plot to click on.
#pragma once

#include "app/MainWindow.h"
#include "instrument/simulated/SampleModel.h"
#include "plot/FastGraph.h"
#include "tests/app/ProgramProcess.h"

#include <QStringList>
#include <QTemporaryDir>

#include <ostream>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace ymt::test {

// Frequencies from low to high (kHz) in equal steps, count points.
inline std::vector<double> LinearGrid(double low, double high, int count) {
    std::vector<double> grid;
    for (int i = 0; i < count; ++i)
        grid.push_back(low + (high - low) * i / (count - 1));
    return grid;
}

// |Z| and theta of the default sample model at each grid frequency, into curves 3 and 4.
inline void FillModelSpectrum(TFastGraph& graph, const std::vector<double>& grid) {
    const SampleModel sample = DefaultSampleModel();
    for (double f : grid) {
        const ImpedancePolar z = SampleZTheta(sample, f);
        graph.store().AddPoint(3, f, z.magnitudeOhm);
        graph.store().AddPoint(4, f, z.thetaDeg);
    }
}

// Draws the plot at a known size, as the screen does, so that its plot rectangle is known.
inline void DrawPlotOnScreen(TFastGraph& graph, int width = 640, int height = 400) {
    graph.resize(width, height);
    graph.grab();
}

// A left click (press and release at the same place) on the measurement plot.
inline void ClickPlot(TForm1& window, int x) {
    window.FastGraph1MouseDown(Qt::LeftButton, x, 100);
    window.FastGraph1MouseUp(Qt::LeftButton, x, 100);
}

// A left drag from x1 to x2 on the measurement plot.
inline void DragPlot(TForm1& window, int x1, int x2) {
    window.FastGraph1MouseDown(Qt::LeftButton, x1, 100);
    window.FastGraph1MouseMove(Qt::LeftButton, (x1 + x2) / 2, 100);
    window.FastGraph1MouseMove(Qt::LeftButton, x2, 100);
    window.FastGraph1MouseUp(Qt::LeftButton, x2, 100);
}

// The frequency under widget pixel x of a plot drawn on the screen (drawn one pixel in).
inline double FrequencyUnder(const TFastGraph& graph, int x) {
    return graph.XAxis.Min() + double(x - 1 - graph.PlotLeft) / (graph.PlotRight - graph.PlotLeft) *
                                   (graph.XAxis.Max() - graph.XAxis.Min());
}

// What the built program printed for a script run on a fresh home (headless, --fast).
struct ScriptRun {
    int exitCode = -1;
    QStringList lines;

    // The value of the n-th "key=value" line printed for key (0 = first).
    QString value(const QString& key, int n = 0) const {
        const QString prefix = key + QLatin1Char('=');
        for (const QString& line : lines)
            if (line.startsWith(prefix) && n-- == 0)
                return line.mid(prefix.size());
        return QStringLiteral("<missing>");
    }
    double number(const QString& key, int n = 0) const { return value(key, n).toDouble(); }
    // The x of the points printed by the n-th "curve" step ("x<TAB>y" lines).
    std::vector<double> curveX(int n = 0) const {
        std::vector<double> xs;
        int block = -1;
        bool inBlock = false;
        for (const QString& line : lines) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            const bool point = fields.size() == 2;
            if (point && !inBlock)
                ++block;
            inBlock = point;
            if (point && block == n)
                xs.push_back(fields[0].toDouble());
        }
        return xs;
    }
};

inline ScriptRun RunScript(const QString& script) {
    QTemporaryDir home;
    const ProgramOutput output = RunScriptIn(home.path(), script);
    return {output.exitCode, output.output.split(QLatin1Char('\n'))};
}

} // namespace ymt::test
