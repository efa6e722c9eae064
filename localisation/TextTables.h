// The program's message table (70 entries) and label table (2 languages x 25 labels of files
// and printouts). Language files replace the messages; the labels are fixed.
#pragma once

#include "localisation/MessageIds.h"

#include <QString>

namespace ymt {

// Message i (0..69); an index outside the table gives an empty text. The language files
// address the table by number; the program's own code uses the names of Msg.
QString Message(int i);
void SetMessage(int i, const QString& text);
inline QString Message(Msg id) {
    return Message(static_cast<int>(id));
}
inline void SetMessage(Msg id, const QString& text) {
    SetMessage(static_cast<int>(id), text);
}
// Puts every message and every program text (ProgramTexts.h) back to its English default.
void ResetMessages();

// Label e (0..24) of language L (0 English, 1 German); empty outside the table.
QString Label(int language, int entry);
// The language of the headers while a file's language is chosen by item (0 English, 1 German,
// 2 "Ask me"): "Ask me" is answered only when a spectrum file is written, so until then the
// headers follow the program language.
int HeaderLanguage(int fileLanguage, int programLanguage);

} // namespace ymt
