#pragma once
// Trajectories in the extended XYZ format that the usual viewers and analysis libraries of
// the field read. Each frame:
//   <number of present slots>
//   Properties=species:S:1:pos:R:3:velo:R:3:slot:I:1:group:I:1 Step=<n> Time=<n dt> pbc="F F F"
//   <species> <x> <y> <z> <vx> <vy> <vz> <slot> <group>     one line per present slot, in order
// The species follow the group so that viewers colour the slots as the window does: Cl (drawn
// green) for group 1, S (yellow) for group 2, O (red) for group 3. Reals are the nearest double
// with 17 significant digits, which reads back as exactly that double; '.' is the separator.

#include <string>

#include "documents/OutputGroup.h"
#include "model/Model.h"

namespace velmora {

// The species name of group 1, 2 or 3.
const char* XyzSpecies(int group);

// Appends the frame of the model's current positions and velocities after `step` steps.
void AppendXyzFrame(std::string& text, const Model& model, int step);

// A trajectory file of a run's outputs: frames are appended as the run goes, and the group puts
// the file in place of the target with the run's other outputs; a run that does not get that
// far leaves no file behind (see OutputGroup).
class XyzTrajectory {
 public:
  XyzTrajectory(const std::string& name, OutputGroup& outputs);

  void WriteFrame(const Model& model, int step);

 private:
  PendingFile& file_;
  std::string frame_;  // kept so that its storage is reused from frame to frame
};

}  // namespace velmora
