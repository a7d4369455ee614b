#include "ui/MemoText.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace velmora {

namespace {

// A block whose state is unset (-1) follows a "\n"; others keep the code of what came before them.
constexpr int LineFeedState = -1;
constexpr int CrLfState = -2;

// What a document takes as the end of a block, as the text cursor does when text is inserted.
bool EndsBlock(QChar c) {
  return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

// The state of every block end in text, in order.
std::vector<int> BlockEnds(const QString& text) {
  std::vector<int> ends;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!EndsBlock(text[i])) continue;
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      ends.push_back(CrLfState);
      ++i;
    } else {
      ends.push_back(text[i] == u'\n' ? LineFeedState : int(text[i].unicode()));
    }
  }
  return ends;
}

QString BlockEnd(int state) {
  if (state == CrLfState) return QStringLiteral("\r\n");
  if (state < 0) return QStringLiteral("\n");
  return QString(QChar(char16_t(state)));
}

}  // namespace

void SetMemoText(QPlainTextEdit& memo, const QString& text) {
  memo.setPlainText(text);
  QTextBlock block = memo.document()->begin();
  for (const int state : BlockEnds(text)) {
    block = block.next();
    block.setUserState(state);
  }
}

QString MemoText(const QPlainTextEdit& memo) {
  const QTextBlock first = memo.document()->begin();
  QString text = first.text();
  for (QTextBlock block = first.next(); block.isValid(); block = block.next())
    text += BlockEnd(block.userState()) + block.text();
  return text;
}

}  // namespace velmora
