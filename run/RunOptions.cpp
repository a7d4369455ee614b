#include "run/RunOptions.h"

#include <string>

#include "sim/WorkerPool.h"

namespace velmora {

OptionTable RunOptions(BatchJob& job, int& threads) {
  StepSettings& settings = job.settings;
  return {
      {"--steps", "N", "integration steps to run (default 0)",
       [&job](const std::string& v) {
         job.steps = CountValue("--steps", v, 0);
         job.stepsGiven = true;
       }},
      {"--blockade", "", "the Blockade schedule",
       [&settings](const std::string&) { settings.Blockade = true; }},
      {"--cool", "", "damping factor 0.95", [&settings](const std::string&) { settings.Cool = true; }},
      {"--contact", "", "the exponential contact part in place of the G shell",
       [&settings](const std::string&) { settings.Law.Functions3X1 = true; }},
      {"--taoscope", "", "the Taoscope sign rule (default: Gravoscope)",
       [&settings](const std::string&) { settings.Law.Taoscope = true; }},
      {"--mode", "M", "free (default), hot, cold, current1 or current2",
       [&settings](const std::string& v) { settings.Mode = ChoiceValue("--mode", v, BoundaryModeNames); }},
      {"--dt", "VALUE", "replace the scene's time step ('.' as decimal separator)",
       [&job](const std::string& v) { job.dt = RealValue("--dt", v); }},
      {"--threads", "N",
       "threads for a step, 1 to " + std::to_string(MaxThreadCount) +
           " (default: every core); every count gives the same bits",
       [&threads](const std::string& v) { threads = CountValue("--threads", v, 1, MaxThreadCount); }},
  };
}

}  // namespace velmora
