// velmora-batch --relax and --structure as a process: the relaxed scene is the core's, the
// printed structure is the core's text, the log carries the structure's columns.

#include <gtest/gtest.h>

#include "documents/DocumentFile.h"
#include "relax/FireRelaxer.h"
#include "run/BatchRun.h"
#include "structure/StructureAnalysis.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/Shapes.h"
#include "tests/core/TemporaryFolder.h"
#include "tests/tools/ToolProcess.h"
#include "text/NumberText.h"
#include "text/StructureText.h"

namespace velmora {
namespace {

using namespace testing;

// A shaken tetrahedron of four slots in the easy square, which comes to rest.
Model Tetrahedron4() {
  Model m = EmptyScene();
  const Points points = Shaken(Scaled(1.3L, Tetrahedron()), 0.05L, 3);
  for (int k = 0; k < 4; ++k) Place(m, 97 + k, points[k].X, points[k].Y, points[k].Z);
  return m;
}

TEST(BatchStructure, RelaxesAsTheCoreAndPrintsTheStructure) {
  TemporaryFolder folder;
  Model scene = Tetrahedron4();
  Model written = scene;
  WriteDocumentFile(written, folder.Path("t.ato"));
  const Outcome run = RunTool(
      folder, {"--relax", "1e-5", "--structure", "--output", folder.Path("rest.ato"), folder.Path("t.ato")});
  ASSERT_EQ(run.status, 0) << run.err;
  FastLaw fast(1);
  const RelaxResult result = Relax(scene, LawField(fast, {}), 1e-5L, RelaxStepLimit);
  std::vector<int> slots;
  const Points points = PresentPoints(scene, &slots);
  EXPECT_EQ(run.out, "relax_steps\t" + std::to_string(result.steps) + "\nlargest_acceleration\t" +
                         FormatReal(result.largestAcceleration, '.') + "\nat_rest\tyes\n" +
                         StructureText(AnalyseStructure(points, {}), slots));
  EXPECT_NE(run.out.find("point_group\tTd\n"), std::string::npos);
  Model rest = EmptyDocument();
  ReadDocumentFile(rest, folder.Path("rest.ato"));
  ApplySnapshot(rest);
  EXPECT_TRUE(SameBits(rest.X[98], scene.X[98]));
}

TEST(BatchStructure, LogColumnsAndRefusedSettings) {
  TemporaryFolder folder;
  Model written = Tetrahedron4();
  WriteDocumentFile(written, folder.Path("t.ato"));
  const Outcome log =
      RunTool(folder, {"--steps", "2", "--log", "-", "--log-structure", folder.Path("t.ato")});
  ASSERT_EQ(log.status, 0) << log.err;
  EXPECT_NE(log.out.find("\tfastest\tclusters\tlargest\tcoordination\tpoint_group\n0\t"), std::string::npos);
  EXPECT_NE(log.out.find("\t1\t4\t3.00000000000000000000e+00\tTd\n"), std::string::npos);
  const std::vector<std::vector<std::string>> refused = {{"--relax", "-1"},
                                                         {"--relax", "1", "--cool"},
                                                         {"--cutoff", "-2"},
                                                         {"--relax", "1", "--log", "-"},
                                                         {"--structure", "--log", "-"}};
  for (std::vector<std::string> arguments : refused) {
    arguments.push_back(folder.Path("t.ato"));
    EXPECT_EQ(RunTool(folder, arguments).status, 2) << arguments[0];
  }
}

}  // namespace
}  // namespace velmora
