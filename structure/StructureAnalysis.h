#pragma once
// What formed in a cloud: the pair-distance histogram and the neighbour cutoff read from it,
// each point's coordination, the clusters, the size and shape of each cluster and of the whole
// cloud, the common neighbour signatures and classes, and the point groups. Geometry only: the
// analysis knows positions, not the law.

#include <map>
#include <vector>

#include "model/Model.h"
#include "structure/CommonNeighbours.h"
#include "structure/PointGroup.h"
#include "structure/Shape.h"

namespace velmora {

// A value of 0 (or less) chooses the default.
struct StructureSettings {
  real binWidth = 0.0L;   // default: a tenth of the closest distance (see PairHistogram)
  real cutoff = 0.0L;     // default: the histogram's first minimum after its first peak
  real tolerance = 0.0L;  // of the point groups; default: a tenth of the closest distance
};

struct ClusterStructure {
  std::vector<int> members;  // indices of the points, ascending
  Shape shape;
  PointGroup group;
};

struct Structure {
  real binWidth = 0.0L;
  std::vector<real> histogram;  // share of the pairs per bin [b w, (b + 1) w)
  real cutoff = 0.0L;
  real tolerance = 0.0L;
  std::vector<int> coordination;        // per point
  std::vector<int> coordinationCounts;  // points per coordination number 0, 1, ...
  real meanCoordination = 0.0L;         // 0 for no points
  std::vector<int> cluster;             // per point, numbered from 0
  std::vector<ClusterStructure> clusters;
  int largest = 0;  // points in the largest cluster
  Shape shape;      // of the whole cloud
  PointGroup group;
  std::map<Signature, int> signatures;
  std::vector<NeighbourClass> classes;  // per point
};

// What each point's neighbourhood is, without the shapes and point groups: what the picture's
// colours and the readout of a picked particle show while a run goes.
struct PointStructure {
  real cutoff = 0.0L;
  std::vector<int> coordination;  // per point
  std::vector<int> cluster;       // per point, numbered from 0
  int clusters = 0;
  std::vector<NeighbourClass> classes;  // per point
};

// The neighbourhoods under the same settings as AnalyseStructure's, so they agree with its
// results; the same errors.
PointStructure AnalysePoints(const Points& points, const StructureSettings& settings);

// A coordinate that is not a finite number throws ProgramError "A position is not a finite
// number"; so does a bin width that makes more than PairHistogram::MaxBins bins.
Structure AnalyseStructure(const Points& points, const StructureSettings& settings);

// The positions of the present slots 1..N in slot order, and their slot numbers.
Points PresentPoints(const Model& model, std::vector<int>* slots = nullptr);

}  // namespace velmora
