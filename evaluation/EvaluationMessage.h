// A message box that an evaluation step asks the main window to show. The evaluation never
// shows boxes itself, so that the same code serves buttons, the repeat timer and the tests.
#pragma once

#include "localisation/TextTables.h"

#include <QString>

#include <optional>

namespace ymt {

enum class EvaluationMessageKind { Error, Warning, Information };

// OK, or the three-way question "Very few measurement points! Read More?".
enum class EvaluationButtons { OK, OKAbortIgnore };

struct EvaluationMessage {
    EvaluationMessageKind Kind = EvaluationMessageKind::Error;
    EvaluationButtons Buttons = EvaluationButtons::OK;
    // Entry of the message table (the text is Message(Index) at the time of the call);
    // none for fixed text that no language file replaces ("No Data!").
    std::optional<Msg> Index;
    QString Text;
};

// The box of a message-table entry, with the entry's text as it reads now.
inline EvaluationMessage TableMessage(EvaluationMessageKind kind, EvaluationButtons buttons,
                                      Msg id) {
    return EvaluationMessage{kind, buttons, id, Message(id)};
}

} // namespace ymt
