#pragma once
// The record behind the observables chart, bounded however long the run: a fixed number of
// buckets along the steps, each with the least and greatest value of every quantity measured
// in it, so that a chart of any width draws every extreme; and the measurements themselves as
// table rows, thinned to every second one whenever they would pass RowLimit.

#include <optional>
#include <string>
#include <vector>

#include "sim/Observables.h"

namespace velmora {

struct Extent {
  real least, greatest;
};

class ChartRecord {
 public:
  // At least twice as many as a chart has pixel columns, so that a bucket is below one column.
  static constexpr int BucketCount = 4096;
  static constexpr std::size_t RowLimit = 100000;

  struct Row {
    int step;
    Observables values;
  };

  // A measurement after `step`. A step that is not beyond the last one (File > New or Open set
  // the count back) begins a new record.
  void Add(int step, const Observables& observables);
  void Clear();

  bool Empty() const { return measurements_ == 0; }
  int FirstStep() const { return origin_; }
  int LastStep() const { return last_.step; }
  const Row& Latest() const { return last_; }
  long long Measurements() const { return measurements_; }

  // The least and greatest finite value of a quantity in the record; nothing when it has none.
  std::optional<Extent> Range(Quantity q) const;
  // For each of `columns` equal parts of the steps FirstStep .. LastStep, the least and greatest
  // finite value of a quantity measured there; nothing for a part without one.
  std::vector<std::optional<Extent>> Columns(Quantity q, int columns) const;

  // The kept measurements: every RowStride()-th one, from the first.
  const std::vector<Row>& Rows() const { return rows_; }
  long long RowStride() const { return rowStride_; }
  // The rows as velmora-batch --log writes its table.
  std::string Table() const;

 private:
  struct Bucket {
    bool measured[QuantityCount] = {};
    Extent extent[QuantityCount] = {};
  };
  static void Merge(Bucket& into, const Bucket& from);
  void Widen();

  int origin_ = 0;      // the first step; bucket b holds steps origin + b span ..
  long long span_ = 1;  // steps per bucket, a power of two
  std::vector<Bucket> buckets_ = std::vector<Bucket>(BucketCount);
  std::vector<Row> rows_;
  long long rowStride_ = 1;
  long long measurements_ = 0;
  Row last_{};
};

}  // namespace velmora
