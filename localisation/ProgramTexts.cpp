#include "localisation/ProgramTexts.h"

namespace ymt {

void ApplyProgramTexts(const IniFile& file) {
    ResetProgramTexts();
    for (int i = 0; i < static_cast<int>(Txt::Count); ++i) {
        const Txt id = static_cast<Txt>(i);
        const auto value = file.value(kProgramTextSection, ProgramTextKey(id));
        // An empty value is no translation: the text stays readable.
        if (value && !value->isEmpty())
            SetText(id, *value);
    }
}

void WriteProgramTexts(IniDocument& document) {
    document.eraseSection(kProgramTextSection);
    for (int i = 0; i < static_cast<int>(Txt::Count); ++i) {
        const Txt id = static_cast<Txt>(i);
        document.setValue(kProgramTextSection, ProgramTextKey(id), Text(id));
    }
}

} // namespace ymt
