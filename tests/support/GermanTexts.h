// The program texts of the shipped German language file for the length of a test; English
// again afterwards. For the tests of layers that link the language layer.
#pragma once

#include "core/TextCatalogue.h"
#include "localisation/IniFile.h"
#include "localisation/ProgramTexts.h"

namespace ymt::test {

class GermanTexts {
public:
    GermanTexts() {
        IniFile file;
        loaded_ = IniFile::Load(QStringLiteral(YMT_SOURCE_DIR "/languages/German.lng"), file);
        ApplyProgramTexts(file);
    }
    ~GermanTexts() { ResetProgramTexts(); }
    GermanTexts(const GermanTexts&) = delete;
    GermanTexts& operator=(const GermanTexts&) = delete;
    bool loaded() const { return loaded_; }

private:
    bool loaded_ = false;
};

} // namespace ymt::test
