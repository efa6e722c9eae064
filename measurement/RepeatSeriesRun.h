// What a running repeat measurement keeps between its cycles: the schedule and everything fixed
// at its start (files, language, thermometer, capacitance settings), and the previous reading.
#pragma once

#include "measurement/RepeatMeasurement.h"

#include <QString>

#include <optional>

namespace ymt {

struct RepeatSeriesRun {
    RepeatSchedule schedule;
    QString seriesFile;   // absolute path
    QString folder;       // for the per-cycle files, ends in "/"
    int fileLanguage = 0; // 0 English, 1 German
    int thermometerKind = 0;
    bool thermometerSilent = false; // the last reading failed (logged once)
    bool saveEachSpectrum = false;
    bool saveEachDiagram = false;
    int capPoints = 10;
    double capFrequency = 1;
    bool tandPerMille = false; // the list shows "[1e-3]"
    double cycleNumber = 0;    // the series value without a thermometer
    std::optional<double> previousValue;
    qint64 previousMs = 0;
    bool withThermometer() const { return thermometerKind > 0; }
};

} // namespace ymt
