// The entries of the message table by what they say. The numbers are the table's positions
// and the keys of the language files (6000 + number), so they never change.
#pragma once

namespace ymt {

enum class Msg : int {
    QcTestFailedForType = 0, // "Quality Test failed for the sampletype: "
    SaveProtocolChanges = 1,
    RegistryAccessError = 2,
    MeasuringCapacitance = 3,
    LoadingRange = 4,
    LoadingSpectrumOverview = 5,
    NoRangeLoadOverview = 6,
    SaveSpectrumTitle = 7,
    FileExistsOverwrite = 8,
    OpenSpectrumTitle = 9,
    UnknownFileFormat = 10,
    Sample = 11,
    SaveProtocolTitle = 12,
    OverwriteExistingFile = 13,
    OpenProtocolTitle = 14,
    AddCurrentHeader = 15,
    FileTooLarge = 16,
    Protocol = 17,
    MinimumEqualsMaximum = 18,
    InsufficientData = 19,
    VeryFewPointsReadMore = 20,
    MaxZBelowMinZ = 21, // "Max|Z| must be higher than Min|Z|!"
    HighAveragingWarning = 22,
    ClickZMaximum = 23,
    InitialisingController = 24,
    ControllerNotFound = 25,
    ControllerOkAtAddress = 26,
    AnalyzerNotFound = 27,
    InitialisingAnalyzer = 28,
    AnalyzerOkAtAddress = 29,
    ThermalSensorOk = 30,
    NoThermalSensor = 31,
    NoMeasurementData = 32,
    ClickZMinimum = 33,
    DiameterCaption = 34,
    LengthCaption = 35,
    WidthCaption = 36,
    OuterDiameterCaption = 37,
    InnerDiameterCaption = 38,
    CompensatingHolder = 39,
    CompensationOpenContacts = 40,
    CompensationCloseContacts = 41,
    CompensationComplete = 42,
    CompensationAborted = 43,
    HolderNotCompensated = 44,
    AnalyzerSetToPresets = 45,
    Impedance = 46,
    Datafile = 47,
    DeleteSet = 48,
    Empty = 49,
    SaveSetTitle = 50,
    TypeNameNoneInvalid = 51,
    AlreadyExistsReplace = 52, // " already exists. Replace?", after a type name
    Added = 53,                // " added.", after a type name
    DeleteType = 54,
    RepeatStarted = 55,
    StopRepeat = 56,
    RepeatFinished = 57,
    StartRepeat = 58,
    Measurement = 59, // "Measurement ", before a number
    RepeatMeasurement = 60,
    ChooseWorkingDirectory = 61,
    ChooseBackupDirectory = 62,
    DeleteAllPoints = 63,
    // 64 to 66 are shown by no operation; language files may still carry them.
    PleaseWait = 64,
    OperationAborted = 65,
    Ready = 66,
    FewPointsPrecisionWarning = 67,
    NoRangeReadsFullRange = 68,
    GermanPrintout = 69,
};

// One past the last entry: the size of the table.
inline constexpr int kMessageCount = static_cast<int>(Msg::GermanPrintout) + 1;

} // namespace ymt
