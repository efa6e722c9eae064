// Texts the program shows beyond the message table and the windows' components: errors and
// refusals, log lines, questions, message-box titles, tooltips set at run time. The language
// files hold them by name in section "ProgramTexts"; the English texts are the defaults here.
#pragma once

#include "localisation/IniFile.h"

#include <QString>

namespace ymt {

inline const QString kProgramTextSection = QStringLiteral("ProgramTexts");

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
    Count
};

// The current text of id (the language file's, else the English default).
QString Text(Txt id);
void SetText(Txt id, const QString& text);
// Every text back to English.
void ResetProgramTexts();
// The English text, the default a language file replaces.
QString EnglishText(Txt id);

// English first, then every key the file's section holds: a key left out reads in English.
void ApplyProgramTexts(const IniFile& file);
// The section with every current text, for "Create LNG".
void WriteProgramTexts(IniDocument& document);

} // namespace ymt
