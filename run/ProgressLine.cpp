#include "run/ProgressLine.h"

#include <cstdio>

namespace velmora {

ProgressLine::ProgressLine(int total) : meter_(total, ProgressMeter::Clock::now()) {}

void ProgressLine::Update(int done) {
  if (const auto line = meter_.Update(done, ProgressMeter::Clock::now()))
    std::fprintf(stderr, "\r%s\x1b[K", line->c_str());
}

void ProgressLine::Clear() {
  if (meter_.Shown()) std::fputs("\r\x1b[K", stderr);
}

}  // namespace velmora
