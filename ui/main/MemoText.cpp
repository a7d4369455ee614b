#include "ui/main/MemoText.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <map>
#include <vector>

namespace velmora {

namespace {

// A block whose state is unset (-1) follows a "\n"; others keep the code of what came before them.
constexpr int LineFeedState = -1;
constexpr int CrLfState = -2;

// What a document takes as the end of a block, as the text cursor does when text is inserted.
bool EndsBlock(QChar c) {
  return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
         c == QChar(0xFDD1);
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

std::vector<int> StatesOf(const QTextDocument& document) {
  std::vector<int> states;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    states.push_back(block.userState());
  return states;
}

// The block states of each memo's document as they stood after its last change.
std::map<const QTextDocument*, std::vector<int>>& KeptStates() {
  static std::map<const QTextDocument*, std::vector<int>> states;
  return states;
}

// Joining two lines removes the first line's block and keeps the second's, with the character
// that came before the second; the joined line takes back the one that came before the first.
// So the states are kept after every change, and the block where a change starts gets back the
// state it had.
void KeepStatesThroughJoins(QTextDocument& document) {
  if (KeptStates().count(&document) != 0) return;
  KeptStates()[&document] = StatesOf(document);
  QObject::connect(&document, &QObject::destroyed, [key = &document] { KeptStates().erase(key); });
  QObject::connect(&document, &QTextDocument::contentsChange, &document, [&document](int from, int, int) {
    std::vector<int>& states = KeptStates()[&document];
    QTextBlock changed = document.findBlock(from);
    const auto number = std::size_t(changed.blockNumber());
    if (changed.isValid() && number < states.size()) changed.setUserState(states[number]);
    states = StatesOf(document);
  });
}

QString BlockEnd(int state) {
  if (state == CrLfState) return QStringLiteral("\r\n");
  if (state < 0) return QStringLiteral("\n");
  return QString(QChar(char16_t(state)));
}

}  // namespace

void SetMemoText(QPlainTextEdit& memo, const QString& text) {
  KeepStatesThroughJoins(*memo.document());
  memo.setPlainText(text);
  QTextBlock block = memo.document()->begin();
  for (const int state : BlockEnds(text)) {
    block = block.next();
    block.setUserState(state);
  }
  KeptStates()[memo.document()] = StatesOf(*memo.document());
}

QString MemoText(const QPlainTextEdit& memo) {
  const QTextBlock first = memo.document()->begin();
  QString text = first.text();
  for (QTextBlock block = first.next(); block.isValid(); block = block.next())
    text += BlockEnd(block.userState()) + block.text();
  return text;
}

}  // namespace velmora
