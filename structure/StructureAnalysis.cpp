#include "structure/StructureAnalysis.h"

#include <algorithm>
#include <cmath>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "structure/Neighbours.h"
#include "structure/PairHistogram.h"

namespace velmora {

namespace {

constexpr real DefaultToleranceShare = 0.1L;  // of the closest distance

void AddClusters(const Points& points, const Neighbours& neighbours, Structure& s) {
  for (std::vector<int>& members : neighbours.Clusters()) {
    const Points part = Subset(points, members);
    s.largest = std::max(s.largest, static_cast<int>(members.size()));
    // A cluster of every point is the whole cloud, whose group is known.
    PointGroup group = members.size() == points.size() ? s.group : FindPointGroup(part, s.tolerance);
    s.clusters.push_back({std::move(members), ShapeOf(part), std::move(group)});
  }
}

void RefuseNonFinite(const Points& points) {
  for (const Point3& p : points)
    if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z))
      throw ProgramError("A position is not a finite number");
}

real CutoffOf(const PairHistogram& histogram, const StructureSettings& settings) {
  return settings.cutoff > 0.0L ? settings.cutoff : histogram.FirstMinimumCutoff();
}

}  // namespace

PointStructure AnalysePoints(const Points& points, const StructureSettings& settings) {
  FaultFlagsKept flagsKept;
  RefuseNonFinite(points);
  PointStructure s;
  s.cutoff = CutoffOf(PairHistogram(points, settings.binWidth), settings);
  const Neighbours neighbours(points, s.cutoff);
  for (int i = 0; i < static_cast<int>(points.size()); ++i)
    s.coordination.push_back(neighbours.Coordination(i));
  s.cluster = neighbours.ClusterOf();
  s.clusters = neighbours.ClusterCount();
  s.classes = AnalyseCommonNeighbours(neighbours).classes;
  return s;
}

// Analysing changes no FPU status flag, so that a run gives the same bits and faults however
// often it is analysed.
Structure AnalyseStructure(const Points& points, const StructureSettings& settings) {
  FaultFlagsKept flagsKept;
  RefuseNonFinite(points);
  Structure s;
  const PairHistogram histogram(points, settings.binWidth);
  s.binWidth = histogram.BinWidth();
  s.histogram = histogram.Shares();
  s.cutoff = CutoffOf(histogram, settings);
  s.tolerance = settings.tolerance > 0.0L ? settings.tolerance : DefaultToleranceShare * histogram.Closest();
  const Neighbours neighbours(points, s.cutoff);
  for (int i = 0; i < static_cast<int>(points.size()); ++i)
    s.coordination.push_back(neighbours.Coordination(i));
  s.coordinationCounts = neighbours.CoordinationCounts();
  long long bonds = 0;
  for (const int c : s.coordination) bonds += c;
  if (!points.empty()) s.meanCoordination = static_cast<real>(bonds) / static_cast<real>(points.size());
  s.cluster = neighbours.ClusterOf();
  s.shape = ShapeOf(points);
  s.group = FindPointGroup(points, s.tolerance);
  AddClusters(points, neighbours, s);
  CommonNeighbourAnalysis cna = AnalyseCommonNeighbours(neighbours);
  s.signatures = std::move(cna.counts);
  s.classes = std::move(cna.classes);
  return s;
}

Points PresentPoints(const Model& model, std::vector<int>* slots) {
  Points points;
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    points.push_back({model.X[i], model.Y[i], model.Z[i]});
    if (slots) slots->push_back(i);
  }
  return points;
}

}  // namespace velmora
