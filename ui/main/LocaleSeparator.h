#pragma once
// The decimal separator of the user's locale settings, which every number shown or typed in the
// windows uses.

namespace velmora {

// QLocale::system()'s decimal point. The number text takes a single ASCII character; a
// separator that is not one falls back to ".".
char LocaleDecimalSeparator();

}  // namespace velmora
