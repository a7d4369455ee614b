#include "ui/editor/CalculatorPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "geometry/GridPoint.h"
#include "geometry/Tetrahedron.h"
#include "ui/common/ControlLook.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/NumberFields.h"
#include "ui/editor/EditorGrid.h"

namespace velmora {

namespace {

constexpr int CalculatorWidth = 164;
constexpr int FieldHeight = 20;
constexpr int ButtonHeight = 23;

GridText TextOf(const EditorGrid& grid) {
  return GridText{grid.RowCount(),
                  [&grid](int column, int row) { return grid.Cell(column, row).toStdString(); }};
}

}  // namespace

CalculatorPanel::CalculatorPanel(const EditorGrid& grid, const ParticleFields& particle,
                                 char decimalSeparator, QWidget* parent)
    : QWidget(parent), grid_(grid), particle_(particle), separator_(decimalSeparator) {
  CreateHeading();
  // Calculators 1 and 2 in the left column, 3 and 4 in the right, a row of asterisks between
  // the upper and the lower pair.
  distances_[0] = CreateDistanceCalculator(1, 4, 20);
  distances_[1] = CreateDistanceCalculator(2, 4, 126);
  distances_[2] = CreateDistanceCalculator(3, 172, 20);
  distances_[3] = CreateDistanceCalculator(4, 172, 126);
  CreateSeparator(4, 110);
  CreateSeparator(172, 110);
  CreateFourthPointCalculator(222);
}

void CalculatorPanel::CreateHeading() {
  QLabel* heading = look::AddLabel(
      this, QStringLiteral("S e r i a l   n u m b e r   o f   g r a v o n s   o r   t a o n s"),
      QRect(1, 2, 341, 16));
  look::SetBold(heading);
}

CalculatorPanel::DistanceCalculator CalculatorPanel::CreateDistanceCalculator(int k, int left, int top) {
  using Handler = void (CalculatorPanel::*)();
  static constexpr Handler Calculate[] = {
      &CalculatorPanel::Calculate1Click, &CalculatorPanel::Calculate2Click, &CalculatorPanel::Calculate3Click,
      &CalculatorPanel::Calculate4Click};
  static constexpr Handler Reset[] = {&CalculatorPanel::Reset1Click, &CalculatorPanel::Reset2Click,
                                      &CalculatorPanel::Reset3Click, &CalculatorPanel::Reset4Click};
  const QString number = QString::number(k);
  look::AddLabel(this, QStringLiteral("Calculation of distance ") + number,
                 QRect(left, top, CalculatorWidth, 14));
  DistanceCalculator calculator;
  calculator.Part1 =
      AddField(QStringLiteral("EditCal%1Part1").arg(k), QRect(left, top + 16, 50, FieldHeight));
  calculator.Part2 =
      AddField(QStringLiteral("EditCal%1Part2").arg(k), QRect(left + 56, top + 16, 50, FieldHeight));
  look::AddLabel(this, QStringLiteral("Result ") + number, QRect(left, top + 40, 44, FieldHeight));
  calculator.Result =
      AddField(QStringLiteral("EditResult") + number, QRect(left + 46, top + 40, 116, FieldHeight));
  AddButton(QStringLiteral("Calculate") + number, QStringLiteral("Calculate ") + number,
            QRect(left, top + 64, 78, ButtonHeight), Calculate[k - 1]);
  AddButton(QStringLiteral("Reset") + number, QStringLiteral("Reset ") + number,
            QRect(left + 84, top + 64, 78, ButtonHeight), Reset[k - 1]);
  return calculator;
}

void CalculatorPanel::CreateSeparator(int left, int top) {
  QLabel* stars = look::AddLabel(this, QStringLiteral("**********************************"),
                                 QRect(left, top, CalculatorWidth, 14));
  look::SetBold(stars);
  look::SetTextColour(stars, look::Blue);
}

void CalculatorPanel::CreateFourthPointCalculator(int top) {
  for (const auto& [text, offset] : {std::pair{QStringLiteral("Calculation of fourth point"), 0},
                                     std::pair{QStringLiteral("for regular tetrahedron"), 18}}) {
    QLabel* heading = look::AddLabel(this, text, QRect(4, top + offset, 332, 18));
    look::SetBoldSerif(heading);
    look::SetTextColour(heading, look::Blue);
  }
  look::AddLabel(this, QStringLiteral("Numbers of three points and  - or + sign"),
                 QRect(4, top + 38, 332, 16));
  EditCal5Part1 = AddField(QStringLiteral("EditCal5Part1"), QRect(4, top + 56, 50, FieldHeight));
  EditCal5Part2 = AddField(QStringLiteral("EditCal5Part2"), QRect(60, top + 56, 50, FieldHeight));
  EditCal5Part3 = AddField(QStringLiteral("EditCal5Part3"), QRect(116, top + 56, 50, FieldHeight));
  Del = new QCheckBox(QStringLiteral("(+/-)Del^0.5"), this);
  Del->setObjectName(QStringLiteral("Del"));
  Del->setGeometry(176, top + 56, 120, FieldHeight);
  Del->setChecked(true);
  look::SetGroundColour(Del, look::Aqua);

  look::AddLabel(this, QStringLiteral("Positional parameters of fourth point: X, Y, Z"),
                 QRect(4, top + 80, 332, 16));
  EditResultX4 = AddField(QStringLiteral("EditResultX4"), QRect(4, top + 98, 106, FieldHeight));
  EditResultY4 = AddField(QStringLiteral("EditResultY4"), QRect(114, top + 98, 106, FieldHeight));
  EditResultZ4 = AddField(QStringLiteral("EditResultZ4"), QRect(224, top + 98, 106, FieldHeight));
  AddButton(QStringLiteral("Calculate5"), QStringLiteral("Calculate5"), QRect(4, top + 124, 78, 25),
            &CalculatorPanel::Calculate5Click);
  AddButton(QStringLiteral("Reset5"), QStringLiteral("Reset5"), QRect(88, top + 124, 78, 25),
            &CalculatorPanel::Reset5Click);
  // "To cells!" and the field beside it have no action: the button does nothing and the field
  // is never read.
  QPushButton* toCells = AddButton(QStringLiteral("DataToCel"), QStringLiteral("To cells!"),
                                   QRect(172, top + 124, 80, 25), nullptr);
  look::SetBoldSerif(toCells);
  AddField(QStringLiteral("ToCel"), QRect(258, top + 126, 40, 21));
}

QLineEdit* CalculatorPanel::AddField(const QString& name, const QRect& place) {
  auto* field = new QLineEdit(QStringLiteral("0"), this);
  field->setObjectName(name);
  field->setGeometry(place);
  return field;
}

QPushButton* CalculatorPanel::AddButton(const QString& name, const QString& caption, const QRect& place,
                                        void (CalculatorPanel::*handler)()) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setGeometry(place);
  if (handler)
    connect(button, &QPushButton::clicked, this,
            [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  return button;
}

// Both points are read before anything is written, so an error leaves every field as it was.
void CalculatorPanel::CalculateDistance(const DistanceCalculator& calculator) {
  const GridText text = TextOf(grid_);
  const Point3 p = ReadGridPoint(calculator.Part1->text().toStdString(), text, separator_);
  const Point3 q = ReadGridPoint(calculator.Part2->text().toStdString(), text, separator_);
  look::SetFieldText(calculator.Result, NumberText(Distance(p, q), separator_));
}

void CalculatorPanel::ResetDistance(const DistanceCalculator& calculator) {
  for (QLineEdit* field : {calculator.Part1, calculator.Part2, calculator.Result})
    field->setText(QStringLiteral("0"));
}

// The point goes into the particle fields with zero velocity; the grid, the particle number and
// the model stay as they are until "&Yes" stores it.
void CalculatorPanel::Calculate5Click() {
  const GridText text = TextOf(grid_);
  const Point3 p1 = ReadGridPoint(EditCal5Part1->text().toStdString(), text, separator_);
  const Point3 p2 = ReadGridPoint(EditCal5Part2->text().toStdString(), text, separator_);
  const Point3 p3 = ReadGridPoint(EditCal5Part3->text().toStdString(), text, separator_);
  const Point3 apex = FourthVertex(p1, p2, p3, Del->isChecked());
  const QString x = NumberText(apex.X, separator_);
  const QString y = NumberText(apex.Y, separator_);
  const QString z = NumberText(apex.Z, separator_);
  look::SetFieldText(EditResultX4, x);
  look::SetFieldText(EditResultY4, y);
  look::SetFieldText(EditResultZ4, z);
  look::SetFieldText(particle_.X, x);
  look::SetFieldText(particle_.Y, y);
  look::SetFieldText(particle_.Z, z);
  for (QLineEdit* velocity : {particle_.V, particle_.U, particle_.W}) velocity->setText(QStringLiteral("0"));
}

// The velocity fields and the sign choice stay as they are.
void CalculatorPanel::Reset5Click() {
  for (QLineEdit* field : {EditCal5Part1, EditCal5Part2, EditCal5Part3, EditResultX4, EditResultY4,
                           EditResultZ4, particle_.X, particle_.Y, particle_.Z})
    field->setText(QStringLiteral("0"));
}

}  // namespace velmora
