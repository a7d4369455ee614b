#pragma once
// The comment memo's text and the bytes of its comment file. Comment files are 8-bit text that
// may have been written anywhere: UTF-8 is read as such; a file that is not UTF-8 (an 8-bit code
// page of an older system, or no text at all) is read byte for byte as Latin-1, so that every
// byte shows as one character and goes back unchanged when the memo is saved. The memo is saved
// in the encoding it was read in as long as every character fits it, otherwise in UTF-8.

#include <QString>
#include <string>

namespace velmora {

class CommentEncoding {
 public:
  // The memo's text for a comment file's bytes; remembers which encoding it used.
  QString Decode(const std::string& bytes);
  // The bytes that the memo's text is saved as.
  std::string Encode(const QString& text) const;

 private:
  bool latin1_ = false;
};

}  // namespace velmora
