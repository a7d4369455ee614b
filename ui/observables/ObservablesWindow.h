#pragma once
// View > Observables: a window beside the main window, not modal, with the chart of the run's
// measured quantities, their latest values, the run's rate in steps per second, the choice of
// quantities, "Separate scales", and "Clear", "Export table ..." and "Export picture ...". The
// record starts when the window is opened or cleared and follows the run for as long as the
// window is shown.
//
// The run loop calls StepDone after every step. Measuring a large cloud costs a good part of a
// step, so the window measures as often as it can while measuring takes at most MeasuringShare
// of the run's time, and redraws the chart four times a second.

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "chart/ChartRecord.h"
#include "chart/SamplePacing.h"
#include "model/Model.h"
#include "sim/Observables.h"
#include "sim/StepSettings.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace velmora {

class ObservablesChart;

class ObservablesWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr double MeasuringShare = 0.01;
  static constexpr int RedrawMilliseconds = 250;

  // The law's switches as the main window's controls hold them at the moment of a measurement.
  using LawSource = std::function<LawSettings()>;

  ObservablesWindow(const Model& model, LawSource law, char separator, QWidget* parent = nullptr);

  // A new record that begins with the scene as it stands: opening the window, "Clear".
  void Restart();
  // After each step of a run.
  void StepDone();
  // View > History shows an earlier step: the chart marks it; none when the scene is shown again.
  void MarkStep(std::optional<int> step);

  const ChartRecord& Record() const { return record_; }

 private:
  void createControls();
  void MeasureNow();
  void ShowLatest();
  void RateTimerTimer();
  void PickClick();
  void SeparateScalesClick();
  void ClearClick();
  void ExportTableClick();
  void ExportPictureClick();
  double Now() const { return clock_.nsecsElapsed() * 1e-9; }

  const Model& model_;
  LawSource law_;
  char separator_;
  ChartRecord record_;
  SamplePacing pacing_{MeasuringShare};
  QElapsedTimer clock_;
  double lastRedraw_ = -1.0;
  bool shownLatest_ = true;  // the chart and the values show the record's latest measurement
  long long steps_ = 0;      // steps seen since the last rate reading
  double rateSince_ = 0.0;

  ObservablesChart* Chart = nullptr;
  std::array<QCheckBox*, QuantityCount> Picks{};
  std::array<QLabel*, QuantityCount> Values{};
  QCheckBox* SeparateScales = nullptr;
  QLabel* Rate = nullptr;
  QPushButton* ClearButton = nullptr;
  QPushButton* ExportTable = nullptr;
  QPushButton* ExportPicture = nullptr;
  QTimer* RateTimer = nullptr;
};

}  // namespace velmora
