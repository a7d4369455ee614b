#pragma once
// The text of a plain-text memo with every character kept. A text document turns a paragraph
// separator (U+2029), like "\n", into the start of a new block, and its plain text shows a
// no-break space as a space and a line separator (U+2028) as a line end. Text put in with
// SetMemoText remembers on each block the character that came before it, and MemoText reads the
// blocks back as they are held, with those characters: MemoText gives back what SetMemoText put
// in. A line the user splits keeps its character and the new line starts with "\n"; two lines
// the user joins keep the character before the first. Pasted or typed line ends are "\n".

#include <QString>

class QPlainTextEdit;

namespace velmora {

void SetMemoText(QPlainTextEdit& memo, const QString& text);
QString MemoText(const QPlainTextEdit& memo);

}  // namespace velmora
