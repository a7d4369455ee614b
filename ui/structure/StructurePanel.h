#pragma once
// View > Structure: a window beside the main window with what formed in the cloud: the settings
// of the analysis (the neighbour cutoff, the histogram's bin width, the point groups' tolerance,
// each "Auto" or a value typed in, the value in use always shown), the pair-distance histogram
// with the cutoff marked, and the analysis as a table of the tab-separated lines Edit > Copy
// Structure copies.
//
// While it is shown it follows the scene: a changed scene (a run's step, an edit, another
// document) is analysed anew at most once per display frame, and during a run only as often as
// keeps the analysis within UpdateShare of the run's time.

#include <QElapsedTimer>
#include <QWidget>
#include <vector>

#include "chart/SamplePacing.h"
#include "model/Model.h"
#include "structure/StructureAnalysis.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTimer;

namespace velmora {

class HistogramView;

class StructurePanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr double UpdateShare = 0.01;

  StructurePanel(const Model& model, char separator, QWidget* parent);
  // The fields lose the focus as the window goes: their rows are gone by then.
  ~StructurePanel() override;

  // Analyses the scene as it stands now, whatever the pacing.
  void AnalyseNow();
  // The lines the table shows, as Edit > Copy Structure copies them; after a failed analysis the
  // error is thrown again.
  std::string Text() const;
  const StructureSettings& Settings() const { return settings_; }
  // How many analyses the panel made since it was created.
  int Analyses() const { return analyses_; }

 signals:
  // A setting was typed in or set to Auto.
  void SettingsChanged(const StructureSettings& settings);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct SettingKind {
    const char* objectName;  // of the field; its "Auto" adds "Auto"
    const char* name;        // in the caption and in the error of a refused value
    real StructureSettings::*value;
    real Structure::*inUse;
  };
  struct Setting {
    QCheckBox* automatic;
    QLineEdit* field;
    SettingKind kind;
  };

  void createControls();
  void AddSetting(QGridLayout& grid, const SettingKind& kind);
  void AutoClick(const Setting& setting);
  void FieldEdited(const Setting& setting);
  void Tick();
  void ShowSettingsInUse();
  void ShowInUse(const Setting& setting);
  void FillTable(const std::string& text);

  const Model& model_;
  char separator_;
  StructureSettings settings_;
  Structure shown_;
  std::string text_;
  std::string error_;  // of the last analysis; empty when it succeeded
  Points seen_;
  bool seenAny_ = false;
  SamplePacing pacing_{UpdateShare};
  QElapsedTimer clock_;
  int analyses_ = 0;
  std::vector<Setting> settingRows_;

  QTimer* Ticker = nullptr;
  HistogramView* Histogram = nullptr;
  QTableWidget* Table = nullptr;
  QLabel* Summary = nullptr;
};

}  // namespace velmora
