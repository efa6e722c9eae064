// The list of file types of a file dialog, "Name (ext)|pattern|Name (ext)|pattern...", in the
// operator's language.
#pragma once

#include "core/TextCatalogue.h"

#include <QString>

namespace ymt {

// The type names of the current text of id with the patterns of its English text. The patterns
// and their order never come from a language file: scripts choose a type by its number, and a
// mistyped pattern would hide the operator's files. A language file whose list has another
// number of parts gives the English list.
QString FileTypeFilter(Txt id);

} // namespace ymt
