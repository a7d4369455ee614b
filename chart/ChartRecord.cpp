#include "chart/ChartRecord.h"

#include <algorithm>
#include <cmath>

#include "text/ObservableLog.h"

namespace velmora {

void ChartRecord::Clear() { *this = ChartRecord(); }

void ChartRecord::Merge(Bucket& into, const Bucket& from) {
  for (int q = 0; q < QuantityCount; ++q) {
    if (!from.measured[q]) continue;
    if (!into.measured[q]) {
      into.measured[q] = true;
      into.extent[q] = from.extent[q];
      continue;
    }
    into.extent[q].least = std::min(into.extent[q].least, from.extent[q].least);
    into.extent[q].greatest = std::max(into.extent[q].greatest, from.extent[q].greatest);
  }
}

// Pairs of buckets become one; the upper half is then free for the steps to come.
void ChartRecord::Widen() {
  for (int b = 0; b < BucketCount / 2; ++b) {
    Bucket merged = buckets_[2 * b];
    Merge(merged, buckets_[2 * b + 1]);
    buckets_[b] = merged;
  }
  std::fill(buckets_.begin() + BucketCount / 2, buckets_.end(), Bucket{});
  span_ *= 2;
}

void ChartRecord::Add(int step, const Observables& observables) {
  if (!Empty() && step <= last_.step) Clear();
  if (Empty()) origin_ = step;
  while ((static_cast<long long>(step) - origin_) / span_ >= BucketCount) Widen();

  Bucket sample;
  for (int q = 0; q < QuantityCount; ++q) {
    const real value = observables.values[q];
    if (!std::isfinite(value)) continue;
    sample.measured[q] = true;
    sample.extent[q] = {value, value};
  }
  Merge(buckets_[(static_cast<long long>(step) - origin_) / span_], sample);

  last_ = {step, observables};
  if (measurements_ % rowStride_ == 0) rows_.push_back(last_);
  ++measurements_;
  if (rows_.size() > RowLimit) {
    // Keep the rows of every second multiple of the stride: the first, the third, ...
    std::size_t kept = 0;
    for (std::size_t r = 0; r < rows_.size(); r += 2) rows_[kept++] = rows_[r];
    rows_.resize(kept);
    rowStride_ *= 2;
  }
}

std::optional<Extent> ChartRecord::Range(Quantity q) const {
  const int index = static_cast<int>(q);
  std::optional<Extent> range;
  for (const Bucket& bucket : buckets_) {
    if (!bucket.measured[index]) continue;
    const Extent& e = bucket.extent[index];
    if (!range)
      range = e;
    else
      range = Extent{std::min(range->least, e.least), std::max(range->greatest, e.greatest)};
  }
  return range;
}

std::vector<std::optional<Extent>> ChartRecord::Columns(Quantity q, int columns) const {
  std::vector<std::optional<Extent>> result(std::max(columns, 0));
  if (Empty() || columns <= 0) return result;
  const int index = static_cast<int>(q);
  const long long steps = static_cast<long long>(last_.step) - origin_ + 1;
  for (int b = 0; b < BucketCount; ++b) {
    const Bucket& bucket = buckets_[b];
    if (!bucket.measured[index]) continue;
    // A bucket goes to the column of its first step that lies in the record.
    const long long column = std::min<long long>(b * span_ * columns / steps, columns - 1);
    std::optional<Extent>& into = result[column];
    const Extent& e = bucket.extent[index];
    if (!into)
      into = e;
    else
      into = Extent{std::min(into->least, e.least), std::max(into->greatest, e.greatest)};
  }
  return result;
}

std::string ChartRecord::Table() const {
  std::string table = ObservableLogHeader();
  for (const Row& row : rows_) table += ObservableLogRow(row.step, row.values);
  return table;
}

}  // namespace velmora
