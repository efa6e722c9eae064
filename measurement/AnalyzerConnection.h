// Connect without widgets: the analyzer session over the configured interface, its preset and
// settings, the span it reports, the sample-holder compensation (asked through the dialog
// interface) and the thermometer's serial session. Every line goes to `log` in the order the
// steps run; the window runs the steps, checks `abandoned` between them and shows the results.
//
//   AnalyzerConnection connection(analyzer, dialogs);
//   connection.log = [&](const QString& line) { ... };
//   if (connection.openSession("gpib0", 17).opened &&
//       connection.setUp(17, logZ, logTheta, analyzerMin, analyzerMax, &warning)) ...
#pragma once

#include "instrument/analyzer/HP4x94A.h"
#include "instrument/sicl/SiclObject.h"
#include "plot/curves/Dialogs.h"

#include <QString>

#include <functional>
#include <memory>

namespace ymt {

struct SessionOpening {
    bool opened = false;
    bool simulated = false; // the interface's transport is the simulated bus
};

// How the sample-holder compensation ended.
enum class Compensation {
    Measured, // open and short measured, compensation on
    Declined, // the operator cancelled the first box
    Stopped,  // a stop (or the end of the program) during the open measurement
};

class AnalyzerConnection {
public:
    AnalyzerConnection(HP4x94A& analyzer, DialogInterface& dialogs);

    // One line of the Hardware log.
    std::function<void(const QString&)> log;
    // True once the running Connect is to end (a stopped wait, the end of the program).
    std::function<bool()> abandoned;
    // After a session of an earlier Connect was closed and after a successful opening, with
    // whether the interface is simulated, so that the window's caption and buttons follow.
    std::function<void(bool simulated)> linkChanged;

    // The interfaces as sicl.conf gives them, the session created (once) and opened at
    // address; a session of an earlier Connect is closed first. simulated is known also when
    // the opening failed.
    SessionOpening openSession(const QString& interfaceName, int address);
    // Preset, settings, span (kHz) and display scales of the analyzer opened at address;
    // false when Connect was abandoned on the way. spanWarning is the line logged when no
    // span was reported (the model's own is used then).
    bool setUp(int address, bool logZ, bool logTheta, double& analyzerMin, double& analyzerMax,
               QString* spanWarning);
    // "Apply Settings": the analyzer's averaging, bias and level, and the lines saying so.
    void applySettings();
    // "Calibrate New Sampleholder": open and short, each after the operator's box. ended
    // tells whether a stop or the end of the program came since the compensation began.
    Compensation compensate(const std::function<bool()>& ended);
    // A stopped Connect leaves no half set-up analyzer behind: the session is closed.
    void abandon();
    // The thermometer of kind (0 = none) at COM(port): its line settings and start-up
    // commands; handle is the session (a session of an earlier Connect is closed first).
    void openThermometer(int kind, int port, int& handle);
    // Both sessions closed at the end of the program.
    void closeSessions(int& thermometerHandle);

private:
    void logLine(const QString& line);
    bool isAbandoned() const { return abandoned && abandoned(); }
    void changed(bool simulated);

    HP4x94A& analyzer_;
    DialogInterface& dialogs_;
    std::unique_ptr<TSicl> session_; // created by the first Connect
};

} // namespace ymt
