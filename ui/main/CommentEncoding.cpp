#include "ui/main/CommentEncoding.h"

#include <QStringDecoder>

namespace velmora {

namespace {

bool FitsLatin1(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 0xFF) return false;
  return true;
}

}  // namespace

QString CommentEncoding::Decode(const std::string& bytes) {
  // A byte order mark at the start is text like any other: it goes back when the memo is saved.
  QStringDecoder utf8(QStringConverter::Utf8,
                      QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  const QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  latin1_ = utf8.hasError();
  if (latin1_) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  return text;
}

std::string CommentEncoding::Encode(const QString& text) const {
  if (latin1_ && FitsLatin1(text)) return text.toLatin1().toStdString();
  return text.toUtf8().toStdString();
}

}  // namespace velmora
