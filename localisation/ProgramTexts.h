// The section "ProgramTexts" of the language files: it replaces the texts of the catalogue by
// key, and "Create LNG" writes it.
#pragma once

#include "core/TextCatalogue.h"
#include "localisation/IniFile.h"

#include <QString>

namespace ymt {

inline const QString kProgramTextSection = QStringLiteral("ProgramTexts");

// English first, then every key the file's section holds: a key left out reads in English.
void ApplyProgramTexts(const IniFile& file);
// The section with every current text, for "Create LNG".
void WriteProgramTexts(IniDocument& document);

} // namespace ymt
