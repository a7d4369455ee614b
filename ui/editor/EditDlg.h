#pragma once
// The editor dialog: where a scene is set up by hand. It lists every slot in a grid, loads one
// particle at a time into its fields and stores it back with "&Yes"; it edits the time step and
// the parameters, which it stores only when it saves a document ("OK" with a chosen file, or
// "Save As"); and it holds the geometry calculators. It has no model of its own: it reads and
// writes the program's one Model. Created once at start-up and shown modally by File > New, it
// keeps its field texts, check boxes, grid selection and grid mode from one opening to the next.

#include <QDialog>
#include <array>

#include "model/Model.h"
#include "ui/editor/ScopeQuery.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class CalculatorPanel;
class EditorGrid;
class NumericKeyFilter;

class TEditDlg : public QDialog {
  Q_OBJECT

 public:
  // `taoscopeSelected` reads the main window's Gravoscope / Taoscope choice, which names the
  // grid's first column; `decimalSeparator` is the user's locale setting for number text.
  TEditDlg(Model& model, TaoscopeQuery taoscopeSelected, char decimalSeparator, QWidget* parent = nullptr);

  // The dialog's handlers, named after their control and event.
  void FormPaint();
  void DaonsTableSelectCell(int leavingRow);
  void DaonsTableClick();
  void DaonsTableDblClick();
  void SubmitClick();
  void OKBtnClick();
  void SaveasClick();

  // The grid shows velocities instead of positions (toggled by a double click).
  bool EditorListVelocities() const { return editorListVelocities_; }
  // Something was stored into the model during this opening ("&Yes", "Save As", "OK"), so the
  // main window shows the model anew however the dialog closes.
  bool StoredSomething() const { return storedSomething_; }
  // "OK" wrote the scene as the window's document during this opening.
  bool WroteDocument() const { return wroteDocument_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Layout (EditDlgLayout.cpp).
  void CreateControls();
  void CreateParameterArea();
  void CreateParticleArea();
  void CreateGrid();
  void CreateFileArea();
  QLineEdit* AddEdit(const QString& name, const QString& text, const QRect& place);
  void ConnectControls();

  void FillEditorGrid();
  void ShowSelectedParticle(int row);
  void StoreTimeStepAndParameters();
  void AlignCopiesOfPresentSlots();

  Model& model_;
  TaoscopeQuery taoscopeSelected_;
  char separator_;
  bool editorListVelocities_ = false;
  bool storedSomething_ = false;
  bool wroteDocument_ = false;

  EditorGrid* DaonsTable = nullptr;
  QLabel* NumberOfTaon = nullptr;
  QLineEdit* EditX = nullptr;
  QLineEdit* EditY = nullptr;
  QLineEdit* EditZ = nullptr;
  QLineEdit* EditV = nullptr;
  QLineEdit* EditU = nullptr;
  QLineEdit* EditW = nullptr;
  QCheckBox* DaoTrue = nullptr;
  QPushButton* Submit = nullptr;
  QLineEdit* EditDT = nullptr;
  // EditA1 .. EditG3 in record order (A1, B1, C1, D1, F1, G1, A2, ..., G3).
  std::array<QLineEdit*, ParameterCount> parameterFields_{};
  QLineEdit* EditFileName = nullptr;
  QPushButton* Saveas = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  CalculatorPanel* calculators_ = nullptr;
  NumericKeyFilter* keyFilter_ = nullptr;
};

}  // namespace velmora
