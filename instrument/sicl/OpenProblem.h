// Why the last iopen through a real-hardware transport failed ("cannot load libgpib.so.0: ...",
// "connection refused by 127.0.0.1:1234"), so that Connect can name it in the Hardware log.
// Each report also goes to the io-trace as a line "iopen-problem "<text>"".
#pragma once

#include <QString>

namespace ymt::sicl {

void reportOpenProblem(const QString& text);
// The problem of the most recent failed iopen; empty once an iopen succeeds.
QString lastOpenProblem();
void clearOpenProblem();

} // namespace ymt::sicl
