// sicl.conf: which transport serves an interface name, and how simulated devices behave.
// Looked up in the program directory, then in $XDG_CONFIG_HOME/Kvr/. Tests may point at a
// file of their own or inject the text. Format (# starts a comment, names ignore case):
//
//   [interfaces]
//   gpib0 = sim                  # interface name = transport [parameters]
//   gpib1 = prologix tcp 10.0.0.5 # real adapters: see AdapterLine.h for their parameters
//   [gpib0,17]                   # a simulated device at this address
//   device = HP4294A             # HP4194A, HP4294A or auto (the default)
//   C0 = 1.5                     # nF          tand = 0.002
//   branch = 200 0.30 500        # fs kHz, C1 nF, Qm; the first branch line replaces the default
//   noise = 0.001  seed = 7      # relative Gaussian noise, generator seed
//   fault = drop-reply A?        # see SimAnalyzerConfig.h for the faults
//   COM2 = serial /dev/ttyUSB0   # (in [interfaces]) a real serial port, see SerialTransport.h
//   [COM2]                       # a simulated thermometer, see SimThermometer.h
//
// Without a file (or an entry) "gpib0" is the simulated bus with an analyzer at address 17 that
// speaks the language of its first command; once devices are configured on an interface, only
// those answer there.
#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

namespace ymt::sicl {

using KeyValueList = QList<QPair<QString, QString>>; // in file order, keys lower case

struct SiclConfig {
    QMap<QString, QString> interfaces;     // lower-case interface name -> "transport params"
    QMap<QString, KeyValueList> devices;   // lower-case address key -> its lines
    QMap<QString, QString> deviceSections; // address key -> raw text (to notice changes)
    QStringList problems;                  // lines that could not be read

    // Transport line for an interface when not configured: "sim" for gpib0; for COMn "sim"
    // when a simulated device section [COMn] exists, else "serial" (/dev/ttyS(n-1)).
    QString transportFor(const QString& interfaceName) const;
    bool hasDevice(const QString& addressKey) const { return devices.contains(addressKey); }
};

SiclConfig parseSiclConfig(const QString& text);

// The transport name of an [interfaces] line ("sim", "usbtmc" ...), lower case.
QString transportName(const QString& transportLine);

// The directory of the executable; the main window sets it at start-up.
void setProgramDirectory(const QString& directory);
QString programDirectory();

// Tests: use this file instead of the lookup (empty path: back to the lookup).
void setConfigFile(const QString& path);
// Tests: use this text instead of any file (empty optional via clearConfigText()).
void setConfigText(const QString& text);
void clearConfigText();

// The file that would be read now ("" when none exists).
QString configFilePath();
// Where sicl.conf is looked for, in order (a test's file alone when one is set).
QStringList configSearchPaths();
// The configuration in force now (read afresh at every iopen).
SiclConfig currentConfig();

} // namespace ymt::sicl
