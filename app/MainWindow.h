// The main window TForm1: its seven tabs and menu, the state of the whole run, and the handlers
// of its controls. Handlers stay thin; the logic lives in the subsystem folders.
#pragma once

#include "app/ControlHandlers.h"
#include "app/Dialogs.h"
#include "app/ProgramDirs.h"
#include "app/RadioGroup.h"
#include "app/automation/ScriptTarget.h"
#include "core/Version.h"
#include "evaluation/EquivalentCircuitFit.h"
#include "evaluation/EvaluationResults.h"
#include "evaluation/ManualDetermination.h"
#include "evaluation/MaterialConstantsReport.h"
#include "evaluation/QualityControl.h"
#include "evaluation/ResonanceEvaluation.h"
#include "evaluation/ResultsSnapshot.h"
#include "evaluation/SampleDescription.h"
#include "instrument/analyzer/HP4x94A.h"
#include "instrument/sicl/SiclObject.h"
#include "localisation/LanguageFile.h"
#include "measurement/AnalyzerConnection.h"
#include "measurement/RepeatCycle.h"
#include "measurement/RepeatSeriesRun.h"
#include "measurement/SpectrumAcquisition.h"
#include "plot/DragZoom.h"
#include "plot/curves/GraphInteraction.h"
#include "records/ComparisonSet.h"
#include "records/ProtocolBook.h"
#include "records/QcTypeStore.h"
#include "records/SettingsBinding.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QPainter;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QTranslator;

namespace ymt {
class TFastGraph;
class AboutBox;
struct SpectrumFileContent;
class OperatorStop;
class TerminationSignals;
struct LngWindow;
} // namespace ymt

class TForm1 : public QMainWindow, public ymt::ScriptTarget {
    Q_OBJECT
public:
    explicit TForm1(const ymt::ProgramDirs& dirs, QWidget* parent = nullptr);
    ~TForm1() override;

    // ScriptTarget
    QWidget* rootWidget() override { return this; }
    bool runExitHandler(QWidget* field) override;
    QString runTimerTick() override;
    QStringList stateLines() override;
    void setDialogs(ymt::DialogInterface* dialogs) override;
    ymt::DialogInterface& dialogs();

    int activationCount() const { return activationCount_; }
    QTabWidget* pageControl() const { return PageControl1; }

    // Lifecycle.
    void FormCreate();
    void FormActivate();
    void FormClose();
    // The destroy sequence; runs once, at the latest from the destructor.
    void FormDestroy();

    // ---- Tab "Hardware" (analyzer connection and settings, thermometer) ----
    void Button12Click();  // "Connect..."
    void Button17Click();  // "Apply Settings"
    void Button11Click();  // "Calibrate New Sampleholder"
    void Button13Click();  // "Reset"
    void Button28Click();  // "Autozoom Display"
    void Edit12Exit();     // "Averaging"
    void Edit14Exit();     // "Voltagelevel [V]"
    void Edit15Exit();     // "Biaslevel [V]"
    void Edit35Exit();     // "Timeout [s]"
    void ComboBox7Click(); // thermometer type

    // ---- Tab "Sample" ----
    void Button18Click();   // "OK"
    void Edit4Exit();       // "Sample Name"
    void Edit9Exit();       // "Electrode Distance [mm]" and "Sample Thickness"
    void Edit10Exit();      // first dimension
    void Edit5Exit();       // second dimension
    void Edit11Exit();      // "Electrode Area [mm²]"
    void ComboBox3Change(); // English geometry list
    void ComboBox5Change(); // German geometry list
    void ComboBox2Change(); // quality-control type
    void Button22Click();   // "Add / Replace Type"
    void Button23Click();   // "Use Current Sample Data [+/-10%]"
    void Button24Click();   // "Delete Type"

    // ---- Tab "Measurement" ----
    void Button6Click();    // "Read New Spectrum"
    void Button7Click();    // "Read More Points"
    void Button8Click();    // "CT / eps / tand"
    void Button9Click();    // "Coupling Factor Manual"
    void Button10Click();   // "Coupling Factor"
    void Button26Click();   // "Print..."
    void Button32Click();   // "Quil's Button"
    void Edit1Exit();       // "Start"
    void Edit2Exit();       // "Stop"
    void Edit27Exit();      // "Sample Name" among the additional controls
    void ComboBox1Change(); // display pair
    void ComboBox4Change(); // coupling-factor mode
    void CheckBox1Click();  // "|Z| logarithmic"
    void CheckBox2Click();  // "theta logarithmic"
    void CheckBox27Click(); // "Frequency logarithmic"
    void FastGraph1MouseDown(Qt::MouseButton button, int x, int y);
    void FastGraph1MouseMove(Qt::MouseButton button, int x, int y);
    void FastGraph1MouseUp(Qt::MouseButton button, int x, int y);
    void fastgraph1AfterPaint(QPainter& painter);
    void FitCircuitClick();        // "Fit Equivalent Circuit"
    void FitProtocolClick();       // "Add to Protocol" of the fitted circuit
    void MaterialConstantsClick(); // "Material Constants"
    void MaterialProtocolClick();  // "Add to Protocol" of the material constants
    void MaterialCopyClick();      // "Copy" of the material constants

    // ---- Tab "Protocol" and the protocol items of menu "File" ----
    void Button1Click();  // "Add Header"
    void Button2Click();  // "Add Measured Data"
    void Button3Click();  // "Clear Protocol"
    void Button4Click();  // "Save Protocol"
    void Button5Click();  // "Load Protocol"
    void Button14Click(); // "Print Protocol"

    // ---- Tab "Spectrum Comparison" ----
    void Button19Click(); // "Add Curve(s) to Set..."
    void Button20Click(); // "New Set..."
    void Button21Click(); // "Save Set..."
    // Check box of comparison entry 1..10 (CheckBox3Click ... CheckBox13Click).
    void ComparisonEntryClick(int entry);
    void RadioGroup1Click(); // "Curve "
    void CheckBox14Click();  // "Logarithmic"
    void CheckBox16Click();  // "Autoscale Freqency"
    void Edit18Exit();
    void Edit19Exit();
    void qgraphMouseDown(Qt::MouseButton button, int x, int y);
    void qgraphMouseMove(Qt::MouseButton button, int x, int y);
    void qgraphMouseUp(Qt::MouseButton button, int x, int y);
    void qgraphAfterPaint(QPainter& painter);

    // ---- Tab "Repeat Measurement" ----
    void Button27Click(); // start and stop
    void Timer1Timer();   // one cycle
    void Edit28Exit();    // "Interval (min)"
    void Edit29Exit();    // "Duration (min)"
    void Edit33Exit();    // "Start"
    void Edit34Exit();    // "Stop"

    // ---- Tab "Options" ----
    void Button15Click();              // "Change Color" of the |Z| line
    void Button16Click();              // "Change Color" of the theta line
    void Edit13Exit();                 // |Z| line width
    void Edit16Exit();                 // theta line width
    void CheckBox5Click();             // "Show Points"
    void CheckBox21Click();            // "Show Additional Controls"
    void CheckBox23Click();            // "Range 1", "Range 2", "Range 3"
    void Edit7Exit();                  // capacitance "Frequency [kHz]"
    void ComboBox10Change();           // "Unit for loss tangent (tand)"
    void Edit31Exit();                 // "Working Directory"
    void Edit32Exit();                 // "Backup Directory"
    void Button29Click();              // "Browse..." of the working directory
    void Button30Click();              // "Browse..." of the backup directory
    void Edit36Exit(QLineEdit* field); // the six range fields
    void Edit42Exit();                 // "Number of Points / Range"
    void Edit48Exit();                 // "Coupling Factors"
    void Edit49Exit();                 // "Figure of Merit Q(3dB)"
    void RadioGroup4Click();           // "Program Language"
    void Button31Click();              // "Create LNG"

    // ---- Menu ----
    void ffnen1Click();        // "Open Spectrum..."
    void Speichern1Click();    // "Save Spectrum..." and "Save"
    void Drucken1Click();      // "Print Spectrum..."
    void Beenden1Click();      // "Exit"
    void DeletePoints1Click(); // "Delete all points"
    void Hilfe1Click();        // "About"
    void GuideClick();         // "User Guide" (F1): opens the guide in the desktop's viewer

    // ---- State of the run (owned by the window) ----
    QString VersionText = ymt::VersionText();
    QString ProgramDir;
    QString WorkDir;
    QString BackupDir;
    QString Language = QStringLiteral("English");

    // Analyzer and thermometer. The command sets hold the analyzer state; the window's names
    // refer to the same storage.
    ymt::HP4x94A Analyzer;
    int& AnalyzerHandle = Analyzer.AnalyzerHandle; // 0 = not connected
    int ThermometerHandle = 0;
    // The connected analyzer is a simulated one; points it gave make the spectrum simulated,
    // which its files and printouts then say (in the notes).
    bool AnalyzerSimulated = false;
    bool SpectrumSimulated = false;
    int& AnalyzerModel = Analyzer.AnalyzerModel;         // 0 = HP 4194A, 1 = HP 4294A
    int& CompletionTimeout = Analyzer.CompletionTimeout; // ms, 0 = no limit; field in seconds
    double AnalyzerMin = 0.04;                           // kHz
    double AnalyzerMax = 110000.0;                       // kHz
    double RangeStart = 0.04;                            // kHz
    double RangeStop = 110000.0;                         // kHz
    int PointsPerRange = 401;
    int& Averaging = Analyzer.Averaging;
    double& OscLevel = Analyzer.OscLevel;   // V
    double& BiasLevel = Analyzer.BiasLevel; // V

    ymt::EvaluationResults Results;
    ymt::SampleDescription Sample;
    // What the result labels of tab "Measurement" show; showResults() writes them.
    ymt::ShownResults Shown;

    // Overlay of the measurement plot.
    int DisplayCode = 1;
    double MinMarker = 0; // kHz
    double MaxMarker = 0; // kHz
    bool ShowMarkers = false;
    QString PlotPrompt;
    bool AwaitMinClick = false;
    bool AwaitMaxClick = false;
    ymt::ZoomHistory ZoomHistory;           // of the measurement plot
    ymt::ZoomHistory ComparisonZoomHistory; // of the repeat-measurement range
    ymt::ZoomHistory QgraphZoomHistory;     // x ranges of the comparison plot

    // Protocol.
    bool ProtocolChanged = false;
    // Which result line is written next; the window's names refer to its storage.
    ymt::ProtocolBook Protocol;
    bool& HeaderChanged = Protocol.HeaderChanged;
    double& LastProtocolledCap = Protocol.LastProtocolledCap;
    // kHz of the last capacitance measurement (the field limited to the analyzer's span).
    double SpotFrequency = 0;
    QString ProtocolFileName;

    // Options of the file dialogs (initial folder, title, filter) as the dialogs keep them.
    ymt::FileDialogOptions OpenDialog1;
    ymt::FileDialogOptions SaveDialog1;

    // The plots.
    ymt::TFastGraph* fastgraph1 = nullptr;
    ymt::TFastGraph* qgraph = nullptr;
    ymt::TFastGraph* tmpgraph = nullptr;
    ymt::TFastGraph* dauergraph = nullptr;

    // ---- Capacitance, protocol and quality control ----
    // The selected sample type's references and tolerances (C, tand, k(eff), mode k, f(min)),
    // as their fields show them, and its hull-curve file.
    std::array<ymt::QcLimit, ymt::kQcQuantityCount> QcLimits{};
    QString HullCurveFile;
    ymt::QcTypeStore QcTypes{ProgramDir, BackupDir, VersionText};
    // The protocol's lines as the protocol text holds them.
    QStringList protocolLines() const;
    // After opening a spectrum, loading or clearing the protocol the next result line starts a
    // new line, whatever "Protocolling mode" says.
    void forgetProtocolledLine();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Hooks of later work, each run at its place in the lifecycle (also from the destructor,
    // so they are not virtual).
    void loadSettings();
    void saveSettings();
    void closeInstrumentSessions();
    // Which control shows and gives each stored value; defaults are those of loadSettings.
    std::vector<ymt::SettingBinding> settingBindings(const ymt::SettingValues& defaults);

public:
    // The frequency window (kHz, either order) on the analyzer and the measurement plot.
    void zoom(double a, double b);
    // Analyzer and plot back to the live state after a measurement.
    void ruecksetzen();
    // Every result value label of tab "Measurement" (and the quality-control verdicts) to "---".
    void clearResultLabels();
    // The result labels from Shown, through the one text function the writers use.
    void showResults();
    // Results, sample description and settings as the window shows them, for the writers.
    ymt::ResultsSnapshot resultsSnapshot() const;
    // Redraws the measurement plot now, so that PlotPrompt is seen during long operations.
    void repaintPlotNow();
    // The resonance search over curve 3 inside the displayed window; the point steps between
    // minimum and maximum, or -1 when no point lies inside the window (nothing is changed then).
    int getminmax();
    // The evaluation pass with fA taken as f(max) and fB as f(min): labels, messages, hooks.
    void koppelfaktor(double fA, double fB);
    // Quality control of the evaluated sample: filled by the quality-control work.
    void qcontrol();
    static void clearVerdictColor(QLabel* verdict);
    // The one-page printout of the spectrum on the current printer (MainWindowPrint.cpp).
    void drucken();
    // The printer of the run, set up by the print dialogs and the preferred printer.
    QPrinter& printer();

    // ---- Spectrum files and the settings store (MainWindowSpectrumFiles.cpp,
    // MainWindowSettings.cpp) ----
    // The settings store; empty means the per-user file $XDG_CONFIG_HOME/Kvr/Ymt.reg.
    QString SettingsFile;
    QString settingsFile() const;
    // Writes the spectrum text file of the measurement plot (asks "Ask me" first); false with
    // the platform's message in *error when it cannot be written.
    // *notInCp1252 receives the typed characters the file holds as "?". A backup is a file of
    // the program's own: a link at its name is replaced, never written through.
    bool savetotext(const QString& fileName, QString* error = nullptr,
                    QStringList* notInCp1252 = nullptr, bool backup = false);

protected:
    // The spectrum backup under fileName, or under fileName with "-1", "-2" ... when a backup of
    // the same second exists.
    bool backupSpectrum(const QString& fileName, QString* error);

private:
    bool fileLanguageIsGerman();
    // A failed backup is reported; true when it was written or the operator goes on without it.
    bool backUpOrAsk(const QString& fileName);
    bool backUpBeforeOpen();
    void runFocusedLeaveHandler();
    // The working directory (and first folder of the file dialogs) becomes the file's folder.
    void useFolderOf(const QString& path);
    void applyOpenedSpectrum(const ymt::SpectrumFileContent& file);
    // Once per opened file (or selection of the comparison set) with such points.
    void warnOfPhasesOutside90(int points);
    // "Save Spectrum..." as CSV (type 8).
    bool savetocsv(const QString& fileName, QString* error);
    // Both sample-name fields, the sample description and the plot title.
    void showSampleName(const QString& cleaned);
    // Tells which characters a file just written holds as "?" (none: no box).
    void warnOfCharactersNotInCp1252(const QStringList& characters);

public:
    // ---- Operator stop, failures of the analyzer, end of the session ----
    // (OperatorStop.cpp, MainWindowSessionEnd.cpp, MainWindowAcquisition.cpp)
    // Ends the run with the normal close request and destroy sequence as soon as no wait and
    // no message box is running (a running wait is stopped). Unattended (a signal, a session
    // end without interaction) asks nothing: the protocol is kept by its backup.
    void requestSessionEnd(bool unattended);
    ymt::OperatorStop* operatorStop() const { return operatorStop_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void watchSessionEnd();
    void endSessionWhenSafe();
    // The failures of the analyzer in an operation went to the log as they came; at its end the
    // last one shows in the status bar and all of them in one box (none while a series runs).
    void reportAnalyzerFailures();
    // backup directory + timestamp + "-" + the cleaned sample name.
    QString backupBaseName() const;
    ymt::OperatorStop* operatorStop_ = nullptr;
    ymt::TerminationSignals* terminationSignals_ = nullptr;
    bool sessionEndPending_ = false;
    bool unattendedEnd_ = false;
    bool protocolDeclined_ = false; // "No" to saving the protocol during this shut-down
    QStringList analyzerFailures_;  // of the running operation
    // The fitted circuit, its result texts and curves are gone at the next change of the
    // spectrum or the display pair.
    void clearCircuitFit();

public:
    // The equivalent circuit fitted to the displayed window; empty until a fit succeeds.
    std::optional<ymt::EquivalentCircuit> CircuitFit;

    // Language files (MainWindowLanguage.cpp). The start-up selects the stored Language and
    // switches to it; a file is applied keeping list positions and shown results.
    void applyStoredLanguage();
    void applyLanguageFile(const QString& path);
    bool writeLanguageFile(const QString& path, QString* error = nullptr) const;
    ymt::LngWindow languageTexts() const;
    void setLanguageTexts(const ymt::LngWindow& texts);
    // The texts of the "Equivalent Circuit" window, its own section of the language files.
    ymt::LngWindow circuitFitTexts() const;
    // The texts of the "Material Constants" window, likewise.
    ymt::LngWindow materialTexts() const;

protected:
private:
    void buildMenu();
    QWidget* buildHardwareTab();
    QWidget* buildSampleTab();
    QWidget* buildMeasurementTab();
    QWidget* buildProtocolTab();
    QWidget* buildComparisonTab();
    QWidget* buildRepeatTab();
    QWidget* buildOptionsTab();
    QWidget* buildSampleInformationGroup();
    QWidget* buildGeometryGroup();
    QWidget* buildQualityControlGroup();
    QWidget* buildMeasurementSidePanel();
    QWidget* buildResultPanel();
    QWidget* buildVisualOptionsGroup();
    QWidget* buildRangeOptionsGroup();
    QWidget* buildDirectoriesGroup();
    QWidget* buildCapacitanceGroup();
    // The command button; the results window is built with it (MainWindowCircuitFit.cpp).
    QWidget* buildCircuitFitCommand();
    void appendCircuitFitState(QStringList& lines) const;
    // Tab "Sample"'s density and Poisson's ratio, and the constants window
    // (MainWindowMaterialConstants.cpp).
    QWidget* buildMaterialInputsGroup();
    QWidget* buildMaterialConstantsCommand();
    void applyMaterialField(QLineEdit* field, std::optional<double>& value);
    void appendMaterialState(QStringList& lines) const;
    void rerenderMaterialText();
    void connectPlotMouse(ymt::TFastGraph* plot, bool measurementPlot);
    void onLeave(QLineEdit* field, void (TForm1::*handler)());

    // Plot settings of the window definition, and the set-up of the first activation.
    void applyPlotDefinitions();
    void setupMeasurementPlot();
    void setupComparisonPlot();
    void setupRepeatPlot();

    void runFirstActivation();
    bool prepareQualityControlFile();
    void updateLossTangentCaption();
    void listPrinters();
    // Asks "Save changes in protocol?" with the given buttons; Yes runs "Save Protocol".
    ymt::DialogButton askSaveProtocol(ymt::ButtonSet buttons);
    // Directory field left: "/" appended; an empty field keeps the previous directory.
    void applyDirectoryField(QLineEdit* field, QString& directory);
    void browseDirectory(QLineEdit* field, QString& directory, const QString& title);
    void writeProtocolBackup(const QString& baseName);

    // Connection and acquisition (MainWindowConnection.cpp, MainWindowAcquisition.cpp).
    void logLine(const QString& line); // one line of the log on tab "Hardware"
    // The notes of the sample as files and printouts carry them: with the simulated marker when
    // a simulated analyzer gave points of the spectrum.
    QString recordNotes() const;
    // The window caption with " - simulated analyzer" while a simulated analyzer is connected.
    void setCaption(const QString& caption);
    // Connect ends at its next step after a stop or a request to end the program.
    bool connectAbandoned();
    void abandonConnect();
    int connectStops_ = 0; // stopped waits before the running Connect began
    QString captionBase_;  // the caption without the simulated-analyzer note
    void setMeasurementButtonsEnabled(bool enabled);
    // The analyzer and thermometer sessions and the steps of Connect, logging to the Hardware
    // tab and ending when connectAbandoned says so.
    ymt::AnalyzerConnection& connection();
    std::unique_ptr<ymt::AnalyzerConnection> connection_;
    // Backup of the spectrum before it changes, as the backup option allows; false when the
    // backup failed and the operator chose to leave the spectrum as it is.
    bool backUpSpectrumBeforeChange(bool morePoints);
    // The sweeps and the spot measurement on the measurement plot's spectrum, with the
    // window's current points per range and analyzer span.
    ymt::SpectrumAcquisition& acquisition();
    // What the acquisition noted goes to the log, its failures to the operation's report.
    void takeAcquisitionNotes();
    std::unique_ptr<ymt::SpectrumAcquisition> acquisition_;
    // A range edit of tab "Measurement" left: isStart for "Start", else "Stop".
    void applyTypedRangeLimit(bool isStart);
    // Evaluation plumbing (MainWindowEvaluation.cpp).
    ymt::PassInputs passInputs() const;
    void applyPassOutcome(const ymt::PassOutcome& pass);
    ymt::DialogButton showEvaluationMessage(const ymt::EvaluationMessage& message);
    ymt::ManualPickState pickState() const;
    void applyPickState(const ymt::ManualPickState& state);
    // Display options (MainWindowGraph.cpp).
    void applyLineWidthField(QLineEdit* field, int curve);
    void chooseCurveColor(QFrame* swatch, int curve);
    // Comparison set (MainWindowComparisonTab.cpp).
    std::array<bool, 10> comparisonCheckStates() const;
    bool comparisonShowsPhase() const;
    void addFilesToComparisonSet(const QStringList& paths);
    void applyComparisonRangeField(QLineEdit* field, bool isStart);
    QStringList comparisonStateLines() const;
    // Printing (MainWindowPrint.cpp): the preferred printer made current when the list names one.
    bool selectPreferredPrinter();
    // The print dialog, opened in the working directory; false when the operator cancels.
    bool askForPrinter();
    // Ends a failed print job with the message for the operator.
    void reportPrintFailure(const QString& error);

    // Capacitance, protocol and quality control (MainWindowSampleTab.cpp,
    // MainWindowCapacitance.cpp, MainWindowProtocolTab.cpp, MainWindowQualityControl.cpp).
    void applyElectrodeDistance(QLineEdit* field);
    void applyDimension(bool first);
    // A typed geometry value that is not a number is refused with the conversion message and
    // the field shows its previous value again; nothing when refused.
    std::optional<double> typedGeometryValue(QLineEdit* field, double previous);
    // "Frequency [kHz]" limited to the analyzer's span and written back as the field shows it;
    // the frequency the spot measurement is made at.
    double applySpotFrequency();
    // "CT / eps / tand" up to its labels; with followUps, also its quality control and
    // protocol line (Read New Spectrum with the coupling factor leaves them to the evaluation).
    void measureCapacitance(bool followUps);
    // "Coupling Factor"; false when no evaluation pass ran (nothing checked or protocolled).
    bool runCouplingFactor();
    void recomputePermittivity();
    void applySampleName(bool fromMeasurementTab);
    void showCapacitanceLabels();
    int lossTangentUnit() const;
    std::array<double, ymt::kQcQuantityCount> judgedValues() const;
    void applyQcField(int field);
    void showQcTexts(const QStringList& texts);
    QStringList qcRecordValues() const;
    // The operator's answer to a question before QC.txt changes.
    bool confirmQcChange(const QString& question);
    // "Add / Replace Type" without the check that follows; false when nothing was written.
    bool addOrReplaceQcType();
    void setProtocolLines(const QStringList& lines);
    void appendProtocolLines(const QStringList& lines);
    bool saveProtocol();
    // Asks "Save changes in protocol?"; false when the operator cancelled or the save he asked
    // for did not happen.
    bool protocolMayBeReplaced();
    void writeProtocolCopy(const QString& path);
    QString fileLanguageLabel(int entry) const;
    bool programEditsProtocol_ = false;

    // Repeat measurement (MainWindowRepeatSeries.cpp).
    void startRepeatSeries();
    bool seriesFileMayTakeTheSeries(const QString& path);
    void stopRepeatSeries(const QString& title, const QString& caption);
    void runRepeatCycle();
    // A series runs unattended, on the real timer or (with --fast) on script ticks: no box
    // may wait for a click then.
    bool seriesRunning() const;
    // The cycle on the measurement and the repeat plot, with the window's current values.
    ymt::RepeatCycle& repeatCycle();
    std::unique_ptr<ymt::RepeatCycle> repeatCycle_;
    ymt::RepeatSeriesRun repeat_;

    // Drag-zoom on the measurement and on the comparison plot; the cursor line and the band
    // live in the plot's overlay.
    ymt::DragZoom measurementDrag_{ZoomHistory, ymt::DragZoomBand};
    ymt::DragZoom comparisonDrag_{QgraphZoomHistory, ymt::ComparisonZoomBand};

    int activationCount_ = 0;
    bool setupIncomplete_ = false;
    bool destroyed_ = false;
    ymt::LeaveHandlers leaveHandlers_;
    std::unique_ptr<ymt::DialogInterface> ownDialogs_;
    ymt::DialogTracker dialogs_; // routes to ownDialogs_ or the interface given to setDialogs
    ymt::AboutBox* aboutBox_ = nullptr;
    // Language (MainWindowLanguage.cpp): the plots' texts as the program or the last language
    // file gave them, Qt's own texts in German, the language files already reported as not
    // written in code page 1252.
    void rememberFixedPlotTexts();
    void followQtLanguage(bool german);
    void warnIfNotCp1252(const QString& path);
    std::vector<ymt::LngComponent> fixedPlotTexts_;
    QTranslator* qtTranslator_ = nullptr;
    QStringList languageFilesWarned_;
    QTimer* Timer1 = nullptr;
    // shared_ptr deletes through the deleter made with the printer, so the header needs no
    // complete QPrinter.
    std::shared_ptr<QPrinter> printer_;

    // Window frame.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Hardware"
    QWidget* TabSheet2 = nullptr; // "Sample"
    QWidget* TabSheet3 = nullptr; // "Measurement"
    QWidget* TabSheet4 = nullptr; // "Protocol"
    QWidget* TabSheet5 = nullptr; // "Spectrum Comparison"
    QWidget* TabSheet8 = nullptr; // "Repeat Measurement"
    QWidget* TabSheet9 = nullptr; // "Options"

    // Tab "Hardware".
    QComboBox* analyzerList = nullptr;          // ComboBox6 "Analyzer"
    QLineEdit* hpibControllerEdit = nullptr;    // Edit17 "HPIB Controller"
    QSpinBox* addressSpin = nullptr;            // SpinEdit1 "HP 4x94A Address"
    QPushButton* connectButton = nullptr;       // Button12
    QLineEdit* averagingEdit = nullptr;         // Edit12
    QLineEdit* oscLevelEdit = nullptr;          // Edit14
    QLineEdit* biasLevelEdit = nullptr;         // Edit15
    QLineEdit* timeoutEdit = nullptr;           // Edit35
    QPushButton* applySettingsButton = nullptr; // Button17
    QPushButton* resetButton = nullptr;         // Button13
    QPushButton* calibrateButton = nullptr;     // Button11
    QPushButton* autozoomButton = nullptr;      // Button28
    QComboBox* thermometerList = nullptr;       // ComboBox7
    QComboBox* comPortList = nullptr;           // ComboBox8
    QPlainTextEdit* Memo1 = nullptr;            // the log

    // Tab "Sample".
    QLineEdit* materialEdit = nullptr;       // Edit3
    QLineEdit* sampleNameEdit = nullptr;     // Edit4
    QLineEdit* notesEdit = nullptr;          // Edit6
    QLineEdit* measuredByEdit = nullptr;     // Edit8
    QComboBox* geometryList = nullptr;       // ComboBox3 (English)
    QComboBox* geometryListGerman = nullptr; // ComboBox5
    QLineEdit* distanceEdit = nullptr;       // Edit9
    QLineEdit* areaEdit = nullptr;           // Edit11
    QLabel* dimension1Label = nullptr;
    QLineEdit* dimension1Edit = nullptr; // Edit10
    QLabel* dimension2Label = nullptr;
    QLineEdit* dimension2Edit = nullptr;    // Edit5
    QComboBox* qcTypeList = nullptr;        // ComboBox2
    QCheckBox* aggressiveQcCheck = nullptr; // CheckBox20
    QLabel* qcModeCaption = nullptr;        // "k [%]:"
    std::array<QLineEdit*, 10> qcEdits{};   // reference/tolerance pairs: C, tand, k(eff), k, fs
    QLineEdit* hullCurveEdit = nullptr;     // Edit45 "Hullcurve File:" (hidden)

    // Tab "Measurement".
    QCheckBox* logZCheck = nullptr;         // CheckBox1
    QCheckBox* logThetaCheck = nullptr;     // CheckBox2
    QCheckBox* logFrequencyCheck = nullptr; // CheckBox27
    QComboBox* displayPairList = nullptr;   // ComboBox1
    QLineEdit* rangeStartEdit = nullptr;    // Edit1
    QLineEdit* rangeStopEdit = nullptr;     // Edit2
    QPushButton* readNewButton = nullptr;   // Button6
    QPushButton* readMoreButton = nullptr;  // Button7
    QLabel* thicknessLabel = nullptr;
    QLineEdit* thicknessEdit = nullptr; // Edit25 "Sample Thickness"
    QLabel* measurementNameLabel = nullptr;
    QLineEdit* measurementNameEdit = nullptr;    // Edit27 "Sample Name"
    QPushButton* saveButton = nullptr;           // Button25 "Save"
    QPushButton* printButton = nullptr;          // Button26 "Print..."
    QPushButton* quilsButton = nullptr;          // Button32
    QPushButton* capacitanceButton = nullptr;    // Button8
    QPushButton* couplingButton = nullptr;       // Button10
    QPushButton* couplingManualButton = nullptr; // Button9
    QComboBox* couplingModeList = nullptr;       // ComboBox4
    QLabel* tandCaption = nullptr;
    QLabel* modeCaption = nullptr;
    QLabel* capValue = nullptr;
    QLabel* tandValue = nullptr;
    QLabel* epsValue = nullptr;
    QLabel* fminValue = nullptr;
    QLabel* fmaxValue = nullptr;
    QLabel* rsValue = nullptr;
    QLabel* keffValue = nullptr;
    QLabel* kmodeValue = nullptr;
    QLabel* q3dbValue = nullptr;
    QLabel* b3dbValue = nullptr;
    QLabel* dValue = nullptr;
    QLabel* qcModeVerdictCaption = nullptr; // "k"
    // The captions of the five verdicts, "C" ... "f(min)".
    std::array<QLabel*, ymt::kQcQuantityCount> qcVerdictCaptions{};
    QLabel* qcCapVerdict = nullptr;
    QLabel* qcTandVerdict = nullptr;
    QLabel* qcKeffVerdict = nullptr;
    QLabel* qcKVerdict = nullptr;
    QLabel* qcFminVerdict = nullptr;
    QDialog* circuitFitDialog = nullptr; // "Equivalent Circuit", results of the fit
    QPushButton* circuitFitProtocolButton = nullptr;
    std::array<QLabel*, 11> CircuitFitValues{};
    QDialog* materialDialog = nullptr; // "Material Constants"
    QPlainTextEdit* materialText = nullptr;
    QLineEdit* densityEdit = nullptr;
    QLineEdit* poissonEdit = nullptr;
    // What the constants window shows; empty while it shows nothing.
    std::optional<ymt::MaterialReport> MaterialShown;

    // Tab "Protocol".
    QCheckBox* autoProtocolCheck = nullptr;        // CheckBox19
    ymt::TRadioGroup* protocolModeGroup = nullptr; // RadioGroup2
    QPlainTextEdit* Memo2 = nullptr;

    // Tab "Spectrum Comparison".
    std::array<QCheckBox*, 10> comparisonChecks{};
    ymt::TRadioGroup* curveGroup = nullptr;        // RadioGroup1
    QCheckBox* comparisonLogCheck = nullptr;       // CheckBox14
    QCheckBox* comparisonAutoscaleCheck = nullptr; // CheckBox16
    QLineEdit* comparisonStartEdit = nullptr;      // Edit18
    QLineEdit* comparisonStopEdit = nullptr;       // Edit19

    // Tab "Repeat Measurement".
    QLineEdit* intervalEdit = nullptr;          // Edit28
    QLineEdit* durationEdit = nullptr;          // Edit29
    QLineEdit* seriesFileEdit = nullptr;        // Edit30 "Filename"
    QPushButton* repeatButton = nullptr;        // Button27
    QCheckBox* saveEachSpectrumCheck = nullptr; // CheckBox22
    QCheckBox* refineCheck = nullptr;           // CheckBox26
    QCheckBox* saveEachDiagramCheck = nullptr;  // CheckBox15
    QLineEdit* repeatStartEdit = nullptr;       // Edit33
    QLineEdit* repeatStopEdit = nullptr;        // Edit34

    // Tab "Options".
    QLineEdit* width1Edit = nullptr;                  // Edit13
    QLineEdit* width2Edit = nullptr;                  // Edit16
    QFrame* color1Swatch = nullptr;                   // Shape1
    QFrame* color2Swatch = nullptr;                   // Shape2
    QCheckBox* showPointsCheck = nullptr;             // CheckBox5
    QCheckBox* mergePointsCheck = nullptr;            // CheckBox17
    QCheckBox* showAdditionalCheck = nullptr;         // CheckBox21
    ymt::TRadioGroup* programLanguageGroup = nullptr; // RadioGroup4
    ymt::TRadioGroup* printLanguageGroup = nullptr;   // RadioGroup5
    ymt::TRadioGroup* saveTextGroup = nullptr;        // RadioGroup3
    ymt::TRadioGroup* autoBackupGroup = nullptr;      // RadioGroup6
    QLineEdit* capFrequencyEdit = nullptr;            // Edit7
    QComboBox* tandUnitList = nullptr;                // ComboBox10
    QLineEdit* capPointsEdit = nullptr;               // Edit50 "Number of points"
    std::array<QCheckBox*, 3> rangeChecks{};          // CheckBox23, CheckBox24, CheckBox25
    std::array<QLineEdit*, 6> rangeEdits{};           // Edit36 ... Edit41: start, stop per range
    QLineEdit* pointsPerRangeEdit = nullptr;          // Edit42
    QCheckBox* autoCouplingCheck = nullptr;           // CheckBox18
    QLineEdit* couplingPointsEdit = nullptr;          // Edit48
    QLineEdit* qPointsEdit = nullptr;                 // Edit49
    QLineEdit* workDirEdit = nullptr;                 // Edit31
    QLineEdit* backupDirEdit = nullptr;               // Edit32
    QGroupBox* printerGroup = nullptr;                // GroupBox16
    QComboBox* printerList = nullptr;                 // ComboBox9
};
