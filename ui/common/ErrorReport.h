#pragma once
// The program's one error report. Errors are exceptions that nobody catches where they arise:
// a conversion error, a file error or a floating-point fault ends the handler at the failing
// step, whatever it stored before stays stored, and the error box shows the message. Every
// handler that a user action reaches runs its body through Guarded, so no exception ever
// passes through Qt's own frames:
//
//   connect(Go, &QPushButton::clicked, this, [this] { Guarded([this] { GoClick(); }); });
//
// A handler called from another handler (a helper, a nested command) just lets the exception
// fly; the outermost Guarded reports it once.

#include <exception>
#include <utility>

namespace velmora {

// Shows the error box (caption "Velmora", error icon, one OK) with the exception's message
// (and, for a file error that names its file, the file's full name beneath),
// through DialogProvider, above the active window. The program then carries on.
void ReportError(const std::exception& error);

template <class Body>
void Guarded(Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (const std::exception& error) {
    ReportError(error);
  }
}

}  // namespace velmora
