// The English message defaults and the fixed label table of files and printouts.
#include "localisation/TextTables.h"

#include "localisation/ProgramTexts.h"

#include <array>
#include <iterator>

namespace ymt {
namespace {

// Leading and trailing blanks are part of the texts: callers join them with other text.
const char* const kDefaultMessages[] = {
    "Quality Test failed for the sampletype: ",
    "Save changes in protocol?",
    "Warning: Registry access error!",
    "Measuring Capacitance...",
    "Loading range ",
    "Loading spectrum overview...",
    "No frequency range defined. Load spectrum overview?",
    "Save spectrum...",
    "File already exists. Overwrite existing file?",
    "Open spectrum",
    "Error! Unknown file format!",
    "Sample",
    "Save protocol...",
    "Overwrite existing file?",
    "Open protocol...",
    "Add current header?",
    "File is too large!",
    "Protocol",
    "Minimum = Maximum is not valid!",
    "Insufficient data. Aquire more data or reduce threshold value on Options page.",
    "Very few measurement points! Read More?",
    "Max|Z| must be higher than Min|Z|!",
    "Warning: High values for averaging may destabilize your system!",
    "Please click on |Z| maximum f(max)... ",
    "Initializing controller interface...",
    "Error: GPIB controller not found!",
    "GPIB controller OK on adress: ",
    "Error: Impedance analyzer not found!",
    "Initializing impedance analyzer...",
    "Impedance analyzer OK on adress: ",
    "Thermal sensor OK.",
    "No thermal sensor attached.",
    "No measurement data!",
    "Please click on |Z| minimum f(min)... ",
    "Diameter [mm]",
    "Length [mm]",
    "Width [mm]",
    "Outer diameter [mm]",
    "Inner diameter [mm]",
    "Compensating sampleholder...",
    "Compensation - Open contacts",
    "Compensation - Close contacts",
    "Compensation complete.",
    "Warning: Compensation aborted!",
    "Sample holder not compensated.",
    "Impedance analyzer set to Presets.",
    "Impedance",
    "Datafile",
    "Delete set?",
    "empty",
    "Save set...",
    "Type name 'none' invalid.",
    " already exists. Replace?",
    " added.",
    "Delete type: ",
    "Repeat measurement started...",
    "Stop repeat measurement",
    "Repeat measurement finished.",
    "Start repeat measurement",
    "Measurement ",
    "Repeat measurement",
    "Choose working directory...",
    "Choose backup directory...",
    "Do you really want to delete all points?",
    // 64 to 66 are not shown by any operation; language files may still carry them.
    "Please wait...",
    "Operation aborted.",
    "Ready.",
    ("Warning: Less than 20 points for evaluation will severely decrease the precision of "
     "calculations!"),
    "When no Range is selected, 'Read New Spectrum' will read the full range of your Analyzer.",
    "German printout? (Yes->German, No-> English)",
};
static_assert(std::size(kDefaultMessages) == kMessageCount);

constexpr int kLabelsPerLanguage = 25;

// Source text is UTF-8 ("²", "ä", "ß"); the files are written in code page 1252 later.
const char* const kLabels[] = {
    // English
    "Low Field Impedance Analysis", "DEFECT", "Sample Description", "Notes", "Measured by",
    "Date / Time", "Sample", "Electrode-Distance [mm]", "Electrode-Area [mm²]",
    "Measurement Conditions", "", "Voltage [V]", "", "Capacitance Measurement", "Frequency [kHz]",
    "Capacitance [nF]", "tand [1e-4]", "eps(rel)", "Resonance Measurement", "f(min)[kHz]",
    "f(max)[kHz]", "Q(mech)", "keff [%]", "Quality Control", "Sample Geometry",
    // German
    "Kleinsignalimpedanzmessung", "DEFEKT", "Probenbezeichnung", "Anmerkungen", "Bearbeiter/in",
    "Datum / Zeit", "Probe", "Elektrodenabstand [mm]", "Elektrodenfläche [mm²]", "Meßbedingungen",
    "", "Spannungslevel [V]", "", "Kapazitätsmessung", "Frequenz [kHz]", "Kapazität [nF]",
    "tand [1e-4]", "eps(rel)", "Resonanzmessung", "f(min)[kHz]", "f(max)[kHz]", "Q(mech)",
    "keff [%]", "Qualitätskontrolle", "Probengeometrie"};
static_assert(std::size(kLabels) == 2 * kLabelsPerLanguage);

std::array<QString, kMessageCount>& messages() {
    static std::array<QString, kMessageCount> table = [] {
        std::array<QString, kMessageCount> initial;
        for (int i = 0; i < kMessageCount; ++i)
            initial[i] = QString::fromUtf8(kDefaultMessages[i]);
        return initial;
    }();
    return table;
}

bool isMessageIndex(int i) {
    return i >= 0 && i < kMessageCount;
}

} // namespace

QString Message(int i) {
    return isMessageIndex(i) ? messages()[i] : QString();
}

void SetMessage(int i, const QString& text) {
    if (isMessageIndex(i))
        messages()[i] = text;
}

void ResetMessages() {
    for (int i = 0; i < kMessageCount; ++i)
        messages()[i] = QString::fromUtf8(kDefaultMessages[i]);
    ResetProgramTexts();
}

int HeaderLanguage(int fileLanguage, int programLanguage) {
    if (fileLanguage == 0 || fileLanguage == 1)
        return fileLanguage;
    return programLanguage == 1 ? 1 : 0;
}

QString Label(int language, int entry) {
    if (language < 0 || language > 1 || entry < 0 || entry >= kLabelsPerLanguage)
        return QString();
    return QString::fromUtf8(kLabels[kLabelsPerLanguage * language + entry]);
}

} // namespace ymt
