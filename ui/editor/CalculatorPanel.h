#pragma once
// The editor's geometry calculators: four distance calculators and the fourth vertex of a
// regular tetrahedron. They read their points from the text of the editor's grid, so they work
// on whatever it shows, and the fourth point goes into the editor's particle fields, from where
// "&Yes" stores it. Their own fields keep their texts between openings of the editor.

#include <QWidget>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace velmora {

class EditorGrid;

// The editor's six particle fields, which the fourth-point calculator fills in.
struct ParticleFields {
  QLineEdit* X;
  QLineEdit* Y;
  QLineEdit* Z;
  QLineEdit* V;
  QLineEdit* U;
  QLineEdit* W;
};

class CalculatorPanel : public QWidget {
  Q_OBJECT

 public:
  CalculatorPanel(const EditorGrid& grid, const ParticleFields& particle, char decimalSeparator,
                  QWidget* parent);

  void Calculate1Click() { CalculateDistance(distances_[0]); }
  void Calculate2Click() { CalculateDistance(distances_[1]); }
  void Calculate3Click() { CalculateDistance(distances_[2]); }
  void Calculate4Click() { CalculateDistance(distances_[3]); }
  void Reset1Click() { ResetDistance(distances_[0]); }
  void Reset2Click() { ResetDistance(distances_[1]); }
  void Reset3Click() { ResetDistance(distances_[2]); }
  void Reset4Click() { ResetDistance(distances_[3]); }
  void Calculate5Click();
  void Reset5Click();

 private:
  struct DistanceCalculator {
    QLineEdit* Part1;
    QLineEdit* Part2;
    QLineEdit* Result;
  };

  void CreateHeading();
  DistanceCalculator CreateDistanceCalculator(int k, int left, int top);
  void CreateSeparator(int left, int top);
  void CreateFourthPointCalculator(int top);
  QLineEdit* AddField(const QString& name, const QRect& place);
  QPushButton* AddButton(const QString& name, const QString& caption, const QRect& place,
                         void (CalculatorPanel::*handler)());

  void CalculateDistance(const DistanceCalculator& calculator);
  void ResetDistance(const DistanceCalculator& calculator);

  const EditorGrid& grid_;
  ParticleFields particle_;
  char separator_;
  std::array<DistanceCalculator, 4> distances_{};
  QLineEdit* EditCal5Part1 = nullptr;
  QLineEdit* EditCal5Part2 = nullptr;
  QLineEdit* EditCal5Part3 = nullptr;
  QCheckBox* Del = nullptr;
  QLineEdit* EditResultX4 = nullptr;
  QLineEdit* EditResultY4 = nullptr;
  QLineEdit* EditResultZ4 = nullptr;
};

}  // namespace velmora
