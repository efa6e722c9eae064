#include "plot/PlotInstances.h"

#include "plot/FastGraph.h"

namespace ymt {

namespace {

struct AxisSettings {
    const char* title;
    double min;
    double max;
    bool log;
    bool autoscale;
    bool visible;
};

void applyAxis(TFastAxis& axis, const AxisSettings& settings) {
    axis.setTitle(QString::fromUtf8(settings.title));
    axis.setTitleColor(0x000000);
    axis.setMin(settings.min);
    axis.setMax(settings.max);
    axis.setLog(settings.log);
    axis.setAutoscale(settings.autoscale);
    axis.setVisible(settings.visible);
    axis.setGrid(false);
    axis.setCentered(false);
}

void applyCommon(TFastGraph& graph, const char* title, const AxisSettings& x, const AxisSettings& y,
                 const AxisSettings& y2) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    graph.setFont(font);
    graph.TitleFontSize = 16;
    graph.LineColor = 0x000000;
    graph.BackgroundColor = 0xFFFFFF;
    graph.GridColor = 0x808080;
    graph.setShowPoints(false);
    graph.setTitle(QString::fromUtf8(title));
    applyAxis(graph.XAxis, x);
    applyAxis(graph.YAxis, y);
    applyAxis(graph.Y2Axis, y2);
}

} // namespace

void ApplyFastgraph1Defaults(TFastGraph& graph) {
    applyCommon(graph, "Coupling Factor", {"Frequency [kHz]", 0.04, 110000, false, false, true},
                {"|Z|", 1e301, 1e-300, true, true, true},
                {"theta [°]", 1e301, -1e301, false, true, true});
    graph.YAxis.setTitleColor(0x0000FF);
    graph.Y2Axis.setTitleColor(0xFF0000);
    graph.setCursor(Qt::CrossCursor);
}

void ApplyQgraphDefaults(TFastGraph& graph) {
    applyCommon(graph, "Spectrum Comparison", {"Frequency [kHz]", 0.04, 110000, false, false, true},
                {"Impedance |Z| [Ohm]", 1e301, 1e-300, true, true, true},
                {"Y2-axis", 1e301, -1e301, false, true, false});
    graph.setCursor(Qt::CrossCursor);
}

void ApplyDauergraphDefaults(TFastGraph& graph) {
    applyCommon(graph, "Repeat Measurement", {"Temperature [°C]", 1e301, -1e301, false, true, true},
                {"Capacitance [nF]", 1e301, -1e301, false, true, true},
                {"Frequency [kHz]", 1e301, -1e301, false, true, true});
}

void ApplyTmpgraphDefaults(TFastGraph& graph) {
    applyCommon(graph, "FastGraph v1.0d", {"X-axis", 1, 100, false, false, true},
                {"Y-axis", 1, 100, false, false, true}, {"Y2-axis", 1, 10, false, false, true});
    graph.resize(129, 43);
    graph.hide();
}

void SetUpMeasurementPlot(TFastGraph& graph, Color color1, int width1, Color color2, int width2) {
    graph.BackgroundColor = 0xFFFFFF;
    graph.LineColor = 0x000000;
    graph.GridColor = 0x808080;
    graph.XAxis.setVisible(true);
    for (TFastAxis* axis : {&graph.XAxis, &graph.YAxis, &graph.Y2Axis})
        axis->setGrid(false);
    graph.YAxis.setAutoscale(true);
    graph.Y2Axis.setAutoscale(true);
    CurveStore& store = graph.store();
    store.setColor(1, color1);
    store.setAxis(1, 0);
    store.setWidth(1, width1);
    store.setVisible(1, width1 > 0);
    store.setColor(2, color2);
    store.setAxis(2, 1);
    store.setWidth(2, width2);
    store.setVisible(2, width2 > 0);
    graph.YAxis.setVisible(width1 > 0);
    graph.Y2Axis.setVisible(width2 > 0);
}

void SetUpComparisonPlot(TFastGraph& graph, int width1) {
    static constexpr Color pairColours[10] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFFFF00,
                                              0xFF00FF, 0x000080, 0x800000, 0x008000, 0x008080};
    CurveStore& store = graph.store();
    for (int n = 1; n <= 20; ++n) {
        store.setColor(n, pairColours[(n - 1) / 2]);
        store.setWidth(n, width1);
    }
}

void SetUpRepeatPlot(TFastGraph& graph) {
    CurveStore& store = graph.store();
    const struct {
        int axis;
        Color color;
    } curves[3] = {{0, 0x0000FF}, {1, 0xFF0000}, {1, 0x008000}};
    for (int n = 1; n <= 3; ++n) {
        store.setVisible(n, true);
        store.setAxis(n, curves[n - 1].axis);
        store.setColor(n, curves[n - 1].color);
        store.setWidth(n, 2);
    }
}

void ApplyLineWidth(TFastGraph& measurementPlot, int curve, int width, TFastGraph* comparisonPlot) {
    CurveStore& store = measurementPlot.store();
    store.setWidth(curve, width);
    store.setVisible(curve, width > 0);
    TFastAxis& axis = curve == 1 ? measurementPlot.YAxis : measurementPlot.Y2Axis;
    axis.setVisible(width > 0);
    if (comparisonPlot)
        for (int n = 1; n <= 20; ++n)
            comparisonPlot->store().setWidth(n, width);
}

} // namespace ymt
