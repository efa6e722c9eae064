// One axis of a plot (x, left value axis or right value axis): the properties the window
// definition sets, and the working values that drawing computes and curve mapping reads.
#pragma once

#include "plot/curves/CurveStore.h"

#include <QString>

#include <functional>

namespace ymt {

class TFastAxis {
public:
    TFastAxis(QString title, double min, double max)
        : Title_(std::move(title)), Min_(min), Max_(max) {}

    // Every setter stores the value and asks the owning plot to repaint.
    void setOwnerRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }

    const QString& Title() const { return Title_; }
    void setTitle(const QString& title) {
        Title_ = title.left(80);
        changed();
    }
    ymt::Color TitleColor() const { return TitleColor_; }
    void setTitleColor(ymt::Color color) {
        TitleColor_ = color;
        changed();
    }
    double Min() const { return Min_; }
    void setMin(double value) {
        Min_ = value;
        changed();
    }
    double Max() const { return Max_; }
    void setMax(double value) {
        Max_ = value;
        changed();
    }
    bool Log() const { return Log_; }
    void setLog(bool on) {
        Log_ = on;
        changed();
    }
    bool Centered() const { return Centered_; }
    void setCentered(bool on) {
        Centered_ = on;
        changed();
    }
    bool Autoscale() const { return Autoscale_; }
    void setAutoscale(bool on) {
        Autoscale_ = on;
        changed();
    }
    bool Grid() const { return Grid_; }
    void setGrid(bool on) {
        Grid_ = on;
        changed();
    }
    bool Visible() const { return Visible_; }
    void setVisible(bool on) {
        Visible_ = on;
        changed();
    }

    // Autoscaling writes the limits while the plot is being drawn: no repaint request.
    void setLimitsQuietly(double min, double max) {
        Min_ = min;
        Max_ = max;
    }

    // Working values, written while the axis is drawn.
    double LogMin = 0;
    double LogMax = 0;
    double MajorStep = 0;
    double MinorStep = 0;
    double Scale = 0;
    double Offset = 0;

private:
    void changed() {
        if (repaint_)
            repaint_();
    }

    QString Title_;
    ymt::Color TitleColor_ = 0x000000;
    double Min_;
    double Max_;
    bool Log_ = false;
    bool Centered_ = false;
    bool Autoscale_ = false;
    bool Grid_ = false;
    bool Visible_ = true;
    std::function<void()> repaint_;
};

} // namespace ymt
