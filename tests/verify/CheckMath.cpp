// Compares Exp, Log, Sin, Cos and Atan2 with MPFR on COUNT arguments per function, spread evenly
// over the families of tests/verify/MathReference.h (random bits over the whole domain, the
// ranges the law, the view and the measurements use, and the edge regions), and prints per
// family how many results differ from MPFR's correctly rounded value in any bit and how many
// raised a fault flag an IEEE function would not. Run by scripts/check-math.sh; exits 1 on any
// finding. Given a family's number (0 to 5, in the order printed), checks that family only, on
// count/6 arguments.
//
//   velmora_check_math [count] [seed] [function] [family]

#include <cfenv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/verify/MathReference.h"

namespace {

using velmora::reference::Function;

long CheckFunction(Function f, long count, std::mt19937_64& rng, int only) {
  using namespace velmora::reference;
  long findings = 0;
  for (int family = 0; family < Families; ++family) {
    if (only >= 0 && family != only) continue;
    const auto start = std::chrono::steady_clock::now();
    long misrounded = 0, misflagged = 0;
    const long n = count / Families + (family < count % Families ? 1 : 0);
    for (long i = 0; i < n; ++i) {
      const Argument a = Draw(rng, f, family);
      const Results r = Evaluate(f, a);
      const int faults = r.faults;
      const bool overflow = std::isinf(r.got) && std::isfinite(a.x);
      if (!SameBits(r.got, r.expected) && misrounded++ < 3)
        std::printf("  MISROUNDED %s(%La, %La) = %La, MPFR %La\n", NameOf(f), a.y, a.x, r.got, r.expected);
      if (faults != (overflow ? FE_OVERFLOW : 0) && misflagged++ < 3)
        std::printf("  FLAGS %s(%La, %La) raised %d\n", NameOf(f), a.y, a.x, faults);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-6s %-42s %9ld arguments  %ld misrounded  %ld wrong flags  (%.0f s)\n", NameOf(f),
                FamilyName(f, family), n, misrounded, misflagged, seconds);
    std::fflush(stdout);
    findings += misrounded + misflagged;
  }
  return findings;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 10000000;
  const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 33;
  const int only = argc > 4 ? std::atoi(argv[4]) : -1;
  long findings = 0;
  for (Function f : {Function::Exp, Function::Log, Function::Sin, Function::Cos, Function::Atan2}) {
    if (argc > 3 && std::strcmp(argv[3], velmora::reference::NameOf(f)) != 0) continue;
    std::mt19937_64 rng(seed + static_cast<unsigned long>(f));
    findings += CheckFunction(f, count, rng, only);
  }
  std::printf("%ld finding(s)\n", findings);
  return findings == 0 ? 0 : 1;
}
