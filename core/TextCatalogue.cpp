#include "core/TextCatalogue.h"

#include <array>
#include <iterator>

namespace ymt {
namespace {

struct Entry {
    const char* key;
    const char* english;
};

// In the order of Txt; the keys never change, as language files address the texts by them.
const Entry kEntries[] = {
    {"BoxError", "Error"},
    {"BoxWarning", "Warning"},
    {"BoxInformation", "Information"},
    {"BoxConfirm", "Confirm"},
    {"AskPrintoutLanguage", "Printout language English (yes) or German (ok)?"},
    {"SeriesFileNameMissing", "Please enter the name of the series file."},
    {"SeriesFileNotASeries",
     "%1 is not a series file; a series is not appended to it. Choose another file name."},
    {"SeriesFileAppend", "%1 holds a series already. Append the new series to it?"},
    {"CaptionSimulated", " - simulated analyzer"},
    {"CannotCreateFolder", "Cannot create the folder %1"},
    {"TimeoutLimited", "Timeout [s] is limited to %1 s (about 24 days)."},
    {"BackupFailed", "The spectrum could not be backed up:"},
    {"ChangeSpectrumAnyway", "Change the spectrum anyway?"},
    {"FileNotFound", "File not found."},
    {"IsAFolder", "%1 is a folder, not a file."},
    {"NotInCp1252",
     "The file is written in code page 1252, which has no %1; the file holds \"?\" in their "
     "place."},
    {"PhasesOutside90",
     "%1 points have a phase outside -90 ... 90 degrees; they are kept as measured. Was the "
     "sample holder connected the other way round?"},
    {"LanguageFileNotCp1252",
     "The language file %1 is not written in code page 1252 (it looks like UTF-8): its "
     "special characters show wrongly. Save it in code page 1252."},
    {"ErrorPrefixed", "Error! %1"},
    {"AreaNotFromDimensions", "These dimensions give no area; the area shown is still in use."},
    {"NotAnInteger", "'%1' is not a valid integer value"},
    {"NotAFloat", "'%1' is not a valid floating point value"},
    {"RepeatAxisTemperature", "Temperature [\xC2\xB0"
                              "C]"},
    {"RepeatAxisMeasurements", "Measurements"},
    {"LogStoppedByOperator", "Stopped by the operator."},
    {"LogSpanNotReported",
     "Warning: the analyzer did not report its frequency span; using %1 ... %2 kHz of the "
     "model."},
    {"LogConnectStopped", "Connect stopped; the analyzer is not connected."},
    {"LogCompletionWaitRanOut",
     "The analyzer did not report the end of the %1 measurement%2; the compensation may hold "
     "incomplete data."},
    {"LogWithinSeconds", " within %1 s"},
    {"CompensationOpen", "open"},
    {"CompensationShort", "short"},
    {"LogRepeatStarted", "Repeat measurement: %1 cycles every %2 min into %3"},
    {"LogTimerSkipped", "Repeat measurement: timer event skipped while busy (%1 so far)."},
    {"LogRepeatCycle", "Repeat measurement: cycle %1 of %2"},
    {"LogRepeatCycleProblems", "Repeat measurement, cycle %1: %2."},
    {"LogThermometerBack", "Thermometer: readings again."},
    {"LogThermometerSilent",
     "Thermometer: no reading; the series shows \"---\" until it answers again."},
    {"LogRangeOutsideSpan",
     "Range %1 (%2 ... %3 kHz) lies outside the analyzer's span (%4 ... %5 kHz) and is "
     "skipped."},
    {"LogNoTrace", "Error: no trace came back from the analyzer for %1; no points stored."},
    {"LogTraceShort", "Error: the trace of %1 ended after %2 of %3 points; only these are stored."},
    {"LogNoSpotReading",
     "Error: no reading came back from the analyzer for the capacitance measurement; C, tand "
     "and eps(rel) are not determined."},
    {"LogSpotShort",
     "Error: the capacitance measurement got %1 of %2 readings; C and tand are their mean."},
    {"SweepProgress", "range %1 of %2"},
    {"SweepRange", "range %1"},
    {"SweepOverview", "the spectrum overview"},
    {"SweepCurrentRange", "the current range"},
    {"CycleStopped", "stopped by the operator; the rest of the cycle is not measured"},
    {"CycleNoTrace", "no trace came back for the sweep of %1 kHz"},
    {"CycleTraceShort", "the trace of the sweep of %1 kHz ended after %2 of %3 points"},
    {"CycleNoCapacitance", "no capacitance reading came back at %1 kHz"},
    {"FitTooFewPoints",
     "Equivalent circuit: the window holds %1 points; the fit needs at least %2."},
    {"FitNoResonance",
     "Equivalent circuit: the window shows no resonance (the |Z| minimum and the maximum above "
     "it must both lie inside)."},
    {"FitNotConverged", "Equivalent circuit: the fit did not converge."},
    {"FitNotInside",
     "Equivalent circuit: the fit did not converge to a resonance inside the window."},
    {"FitPoor",
     "Equivalent circuit: the circuit does not describe the spectrum (residual %1 %); the "
     "window must hold one resonance."},
    {"PrintNoPrinter", "Error! No printer is available."},
    {"PrintTargetIsFolder", "Error! Cannot print to \"%1\": it is a folder."},
    {"PrintCannotPrintTo", "Error! Cannot print to \"%1\": %2"},
    {"PrintCannotPrint", "Error! Cannot print to \"%1\"."},
    {"PrintPrinterCannotOpen", "Error! The printer \"%1\" cannot be opened."},
    {"PrintFailed", "Error! Printing to \"%1\" failed."},
    {"PrintPageIncomplete", "the page could not be written completely (is the disk full?)"},
    {"GuideTitle", "User Guide"},
    {"GuideNotInstalled", "The user guide is not installed."},
    {"GuideUnreadable", "The user guide %1 cannot be read."},
    {"ComparisonNotAdded", "The set holds ten spectra. Not added: %1"},
    // Errors of the file readers and writers, the picture exports included.
    {"ReadLine", "Line %1: %2"},
    {"ReadIsFolder", "it is a folder, not a file"},
    {"ReadNotRegular", "it is not a regular file"},
    {"ReadTooLarge",
     "the file holds %1 MB, far more than the %2 MB the program reads; it is not read"},
    {"WriteShort", "only %1 of %2 bytes could be written (is the disk full?)"},
    {"FileEmpty", "The file is empty."},
    {"DataNotAnalyzerFile", "The file is not a data file of the analyzer."},
    {"DataTitlesNotFrequency", "the column titles must begin with \"Frequency\"."},
    {"DataSecondTitles", "a second row of column titles."},
    {"DataTraceNeitherAB", "trace \"%1\" is neither A nor B."},
    {"DataSecondTrace", "a second trace %1."},
    {"DataNoRowHere", "\"%1\" is not where a data row can be."},
    {"DataRowNumbers", "a data row must hold %1 numbers."},
    {"DataFrequencyHz", "the frequency %1 Hz is not one an analyzer measures."},
    {"DataTooManyPoints", "more than %1 points in one trace."},
    {"DataNoMeasureParameter", "The file names no MEASURE PARAMETER."},
    {"DataWrongMeasure", "the measure parameter \"%1\" is not the magnitude and phase of the "
                         "impedance or the admittance; only those give |Z| and theta."},
    {"DataNoTrace", "The file holds no trace %1."},
    {"DataTraceEmpty", "trace %1 holds no data rows."},
    {"DataTraceLengths", "trace A holds %1 points and trace B %2."},
    {"DataPointsStated", "the file states %1 points, the traces hold %2."},
    {"DataFrequenciesDiffer", "trace B is at %1 Hz where trace A is at %2 Hz."},
    {"DataMagnitude", "the magnitude %1 cannot be measured."},
    {"CsvTitlesMissing", "the column titles %1 are missing."},
    {"CsvRowNumbers",
     "a data row must begin with three numbers separated by \",\", with \".\" as decimal point."},
    {"CsvFrequencyKHz", "the frequency %1 kHz is not one an analyzer measures."},
    {"CsvTooManyRows", "more than %1 data rows."},
    {"CsvNoTitles", "The file holds no column titles %1."},
    {"SpectrumNoTitles", "The spectrum file holds no column titles."},
    {"RowNotThreeNumbers", "a data row must hold three finite numbers."},
    {"SpectrumTooManyRows", "The file holds more than %1 data rows."},
    {"SpectrumUnknownKind", "The file is neither a spectrum file of this program, nor a data file "
                            "of the analyzer, nor a spectrum CSV file."},
    {"NotARegularFile", "%1 is not a regular file."},
    {"MorePointsThan", " (more than %1 points)"},
    {"IncompleteRowsLeftOut", "%1 incomplete data rows were left out (the first is data row %2)."},
    {"ComparisonIsFolder", "Error! Cannot read \"%1\": it is a folder."},
    {"ComparisonNotRegular", "Error! Cannot read \"%1\": it is not a regular file."},
    {"ComparisonCannotRead", "Error! Cannot read \"%1\": %2"},
    {"ComparisonRowAt", "Error! \"%1\", line %2: %3"},
    {"ComparisonTooManyRows", "Error! \"%1\" holds more than %2 data rows."},
    {"ProtocolIsFolder", "%1 is a folder, not a protocol file."},
    {"TargetIsFolder", "%1 is a folder."},
    {"QcBackupFolder", "Cannot create the backup directory %1"},
    {"QcNameNotInCp1252",
     "QC.txt is written in code page 1252, which has no %1; choose a type name without them."},
    {"SettingsSkipped", "Skipped: %1"},
    {"ExportMetafile", "cannot write the metafile"},
    {"ExportNotEncoded", "the picture could not be encoded"},
    {"ExportJpeg", "JPEG compression failed"},
    {"ExportUnknownType", "unknown picture type"},
    {"FilterSpectrumOpen", "Text (txt)|*.txt|HP 4294A data file (txt, "
                           "dat)|*.txt;*.TXT;*.dat;*.DAT|CSV (csv)|*.csv|All files (*.*)|*.*"},
    {"FilterSpectrumSave",
     "Text (txt)|*.txt|Windows Metafile (wmf)|*.wmf|Windows Bitmap (bmp)|*.bmp|Jpeg "
     "(jpg)|*.jpg|PNG (png)|*.png|SVG (svg)|*.svg|PDF (pdf)|*.pdf|CSV (csv)|*.csv"},
    {"FilterComparisonPicture", "Windows Metafile (wmf)|*.wmf|Bitmap (bmp)|*.bmp|Jpeg (jpg)|*.jpg"},
    // The material constants window.
    {"MaterialHeadingConstants", "Constants"},
    {"MaterialHeadingInputs", "Inputs used"},
    {"MaterialHeadingWarnings", "Size conditions"},
    {"MaterialMissing", "missing: %1"},
    {"MaterialFromFit", "from the equivalent-circuit fit of the displayed window"},
    {"MaterialFromMinMax", "from f(min) and f(max)"},
    {"MaterialNoResonance", "no resonance determined"},
    {"MaterialSigmaOvertone", "from the radial overtone at %1 kHz"},
    {"MaterialSigmaTyped", "as typed"},
    {"MaterialSigmaDefault", "default"},
    {"MaterialNoMode", "no mode chosen"},
    {"MaterialCapacitanceAt", " at %1 kHz"},
    {"MaterialInputFpAboveFs", "fp above fs"},
    {"MaterialInputDensity", "density"},
    {"MaterialInputLength", "length"},
    {"MaterialInputWidth", "width"},
    {"MaterialInputThickness", "thickness"},
    {"MaterialInputDiameter", "diameter"},
    {"MaterialInputArea", "area"},
    {"MaterialInputPoissonRatio", "Poisson's ratio"},
    {"MaterialInputMotionalBranch", "R1 and C1 or Q(3dB)"},
    {"MaterialBarShort", "bar shorter than 3.5 widths"},
    {"MaterialBarNarrow", "bar narrower than 3 thicknesses"},
    {"MaterialRodShort", "rod shorter than 2.5 diameters"},
    {"MaterialPlateNarrow", "plate narrower than 10 thicknesses"},
    {"MaterialDiscNarrow", "disc narrower than 10 thicknesses"},
    // Notes and success lines of the log; start-up.
    {"LogAverageSet", "Average = %1 set."},
    {"LogVoltageLevelSet", "Voltagelevel = %1 set."},
    {"LogBiasLevelSet", "Biaslevel = %1 set."},
    {"LogSiclConfSearched", "sicl.conf looked for in: %1"},
    {"LogSiclConfNone", "sicl.conf: none found"},
    {"LogSiclConfRead", "sicl.conf read: %1"},
    {"SiclConfSectionTwice", "line %1: section [%2] given twice; the second one is ignored"},
    {"SiclConfLineNotTaken", "line %1: %2"},
    {"LogTransport", "Transport of %1: %2"},
    {"LogTransportNone", "none configured"},
    {"LogTransportSimulated", "%1 (simulated analyzer)"},
    {"LogThermometerNotFound", "Error: Thermal sensor not found on %1!"},
    {"LogThermometerNotFoundBecause", "Error: Thermal sensor not found on %1 (%2)!"},
    {"StartProgramDirIsFile",
     "Cannot use the program directory \"%1\": it is a file, not a folder"},
    {"StartProgramDirNotCreated", "Cannot create the program directory \"%1\": %2"},
    // Problems of the I/O layer the Connect log shows.
    {"IoPrologixNeedsHostPort", "prologix tcp needs HOST[:PORT], not \"%1\""},
    {"IoPortOutOfRange", "port out of range in \"%1\""},
    {"IoPrologixNeedsMode", "prologix needs \"tcp HOST[:PORT]\" or \"serial DEVICE\""},
    {"IoPrologixTcpOneHost", "prologix tcp takes one HOST[:PORT]"},
    {"IoPrologixSerialArgs", "prologix serial takes DEVICE [BAUD]"},
    {"IoBaudNotUsable", "baud rate \"%1\" not usable"},
    {"IoPrologixModeUnknown", "prologix mode \"%1\" is neither tcp nor serial"},
    {"IoInterfaceLineTooLong", "interface line too long"},
    {"IoUsbtmcOneDevice", "usbtmc takes one device file, e.g. /dev/usbtmc0"},
    {"IoLinuxGpibBoard", "linux-gpib takes a board index 0-15 [LIBRARY]"},
    {"IoVisaResource", "visa takes a resource, e.g. GPIB0::%d::INSTR"},
    {"IoVisaOnePlaceholder", "visa resource may hold only one %d"},
    {"IoUnknownTransport", "sicl.conf: unknown transport \"%1\" for %2"},
    {"IoAdapterClosedAtOnce",
     "%1: the adapter closed the connection at once (is another program connected to it?)"},
    {"IoAdapterSilent", "%1: the adapter does not answer"},
    {"IoAdapterRefusesCommands", "%1: the adapter does not take commands"},
    {"IoAdapterClosed", "%1: the adapter closed the connection"},
    {"IoNoSerialPollAnswer", "%1: no device answers the serial poll at GPIB address %2"},
    {"IoCannotResolve", "cannot resolve %1: %2"},
    {"IoCannotConnect", "cannot connect to %1: %2"},
    {"IoCannotLoadLibrary", "cannot load %1: %2"},
    {"IoUnknownReason", "unknown reason"},
    {"IoLibraryLacksFunction", "%1 has no function %2"},
    {"IoGpibIbdevFailed", "ibdev on board %1, address %2 failed (iberr %3)"},
    {"IoGpibNoListener", "no device listens at address %1 on board %2"},
    {"IoVisaNoResourceManager", "%1: viOpenDefaultRM failed (%2)"},
    {"IoVisaNoDevice", "no device at %1"},
    {"IoVisaOpenFailed", "viOpen %1 failed (%2)"},
    {"IoUsbtmcNotCharacterDevice", "%1 is not a USBTMC device (not a character device)"},
    {"IoCannotOpen", "cannot open %1: %2"},
    {"IoUsbtmcNeedsUdevRule", " (a udev rule must give your group access to usbtmc devices)"},
    {"IoUsbtmcNoDriverAnswer",
     "%1 is not a USBTMC device (it does not answer the usbtmc driver's requests)"},
    {"IoSerialNeedsDialout", " (the user must be in the group dialout)"},
    {"IoSerialBaudUnsupported", "%1: unsupported baud rate %2"},
    {"IoNotASerialPort", "%1: not a serial port"},
    {"IoNoSerialDevice", "no serial device configured for %1"},
};
constexpr int kCount = static_cast<int>(Txt::Count);
static_assert(std::size(kEntries) == kCount, "one entry for each text");

std::array<QString, kCount>& texts() {
    static std::array<QString, kCount> current = [] {
        std::array<QString, kCount> english;
        for (int i = 0; i < kCount; ++i)
            english[i] = QString::fromUtf8(kEntries[i].english);
        return english;
    }();
    return current;
}

int indexOf(Txt id) {
    return static_cast<int>(id);
}

} // namespace

QString Text(Txt id) {
    return texts()[indexOf(id)];
}

void SetText(Txt id, const QString& text) {
    texts()[indexOf(id)] = text;
}

QString EnglishText(Txt id) {
    return QString::fromUtf8(kEntries[indexOf(id)].english);
}

void ResetProgramTexts() {
    for (int i = 0; i < kCount; ++i)
        texts()[i] = QString::fromUtf8(kEntries[i].english);
}

QString ProgramTextKey(Txt id) {
    return QString::fromLatin1(kEntries[indexOf(id)].key);
}

} // namespace ymt
