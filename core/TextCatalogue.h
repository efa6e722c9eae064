// Texts the program shows beyond the message table and the windows' components: errors and
// refusals, log lines, questions, message-box titles, tooltips set at run time. Every layer
// reports through them; the language layer replaces them from the language file, by key.
#pragma once

#include <QString>

namespace ymt {

enum class Txt : int {
    // Message-box titles.
    BoxError,
    BoxWarning,
    BoxInformation,
    BoxConfirm,
    // Questions and notes of the window.
    AskPrintoutLanguage,
    SeriesFileNameMissing,
    CannotCreateFolder,
    TimeoutLimited,
    BackupFailed,
    ChangeSpectrumAnyway,
    FileNotFound,
    IsAFolder,
    NotInCp1252,
    PhasesOutside90,
    LanguageFileNotCp1252,
    ErrorPrefixed,
    AreaNotFromDimensions,
    NotAnInteger,
    NotAFloat,
    // Titles the repeat plot takes while a series runs.
    RepeatAxisTemperature,
    RepeatAxisMeasurements,
    // Log lines.
    LogStoppedByOperator,
    LogSpanNotReported,
    LogConnectStopped,
    LogCompletionWaitRanOut,
    LogWithinSeconds,
    CompensationOpen,
    CompensationShort,
    LogRepeatStarted,
    LogTimerSkipped,
    LogRepeatCycle,
    LogRepeatCycleProblems,
    LogThermometerBack,
    LogThermometerSilent,
    LogRangeOutsideSpan,
    LogNoTrace,
    LogTraceShort,
    LogNoSpotReading,
    LogSpotShort,
    SweepProgress,
    SweepRange,
    SweepOverview,
    SweepCurrentRange,
    CycleStopped,
    CycleNoTrace,
    CycleTraceShort,
    CycleNoCapacitance,
    // Refusals of the equivalent-circuit fit.
    FitTooFewPoints,
    FitNoResonance,
    FitNotConverged,
    FitNotInside,
    FitPoor,
    // Printing.
    PrintNoPrinter,
    PrintTargetIsFolder,
    PrintCannotPrintTo,
    PrintCannotPrint,
    PrintPrinterCannotOpen,
    PrintFailed,
    PrintPageIncomplete,
    // The guide window and the comparison set.
    GuideTitle,
    GuideNotInstalled,
    GuideUnreadable,
    ComparisonNotAdded,
    // Errors of the file readers and writers, the picture exports included.
    // The material constants window.
    MaterialHeadingConstants,
    MaterialHeadingInputs,
    MaterialHeadingWarnings,
    MaterialMissing,
    MaterialFromFit,
    MaterialFromMinMax,
    MaterialNoResonance,
    MaterialSigmaOvertone,
    MaterialSigmaTyped,
    MaterialSigmaDefault,
    MaterialNoMode,
    MaterialCapacitanceAt,
    MaterialInputFpAboveFs,
    MaterialInputDensity,
    MaterialInputLength,
    MaterialInputWidth,
    MaterialInputThickness,
    MaterialInputDiameter,
    MaterialInputArea,
    MaterialInputPoissonRatio,
    MaterialInputMotionalBranch,
    MaterialBarShort,
    MaterialBarNarrow,
    MaterialRodShort,
    MaterialPlateNarrow,
    MaterialDiscNarrow,
    // Notes and success lines of the log; start-up.
    LogAverageSet,
    LogVoltageLevelSet,
    LogBiasLevelSet,
    LogSiclConfSearched,
    LogSiclConfNone,
    LogSiclConfRead,
    SiclConfSectionTwice,
    SiclConfLineNotTaken,
    LogTransport,
    LogTransportNone,
    LogTransportSimulated,
    LogThermometerNotFound,
    LogThermometerNotFoundBecause,
    StartProgramDirIsFile,
    StartProgramDirNotCreated,
    Count
};

// The current text of id (the language file's, else the English default).
QString Text(Txt id);
void SetText(Txt id, const QString& text);
// Every text back to English.
void ResetProgramTexts();
// The English text, the default a language file replaces.
QString EnglishText(Txt id);
// The key of id in the language files; it never changes.
QString ProgramTextKey(Txt id);

} // namespace ymt
