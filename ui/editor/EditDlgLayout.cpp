// The editor dialog's controls and where they stand: the calculators on the left, the three
// parameter columns at the upper right, the particle fields in the middle, the grid at the
// lower right and the file name along the bottom with "OK" and "Cancel" at its right end.

#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "ui/common/ControlLook.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/NumericKeyFilter.h"
#include "ui/editor/CalculatorPanel.h"
#include "ui/editor/EditDlg.h"
#include "ui/editor/EditorGrid.h"

namespace velmora {

namespace {

constexpr int ClientWidth = 787;
constexpr int ClientHeight = 447;
constexpr int RightPart = 344;  // left edge of everything beside the calculators
constexpr int FieldHeight = 20;
constexpr int HeadingHeight = 16;

constexpr int GridColumnWidth = 92;
constexpr int GridRowHeight = 18;

}  // namespace

void TEditDlg::CreateControls() {
  setObjectName(QStringLiteral("EditDlg"));
  setWindowTitle(QStringLiteral(" Editing of gravon's or taon's values"));
  setFixedSize(ClientWidth, ClientHeight);
  setSizeGripEnabled(false);
  // The program's face, as on the main window: the system's sans serif, 11 pixels high.
  QFont face(QStringLiteral("Sans Serif"));
  face.setPixelSize(11);
  setFont(face);
  keyFilter_ = new NumericKeyFilter(this);
  CreateParameterArea();
  CreateParticleArea();
  CreateGrid();
  CreateFileArea();
  calculators_ = new CalculatorPanel(*DaonsTable, ParticleFields{EditX, EditY, EditZ, EditV, EditU, EditW},
                                     separator_, this);
  calculators_->setGeometry(0, 0, RightPart - 2, 400);
  for (QLineEdit* field : {EditDT, parameterFields_[0], parameterFields_[1], parameterFields_[2],
                           parameterFields_[3], EditX, EditY, EditZ, EditV, EditU, EditW})
    keyFilter_->Attach(field);
}

QLineEdit* TEditDlg::AddEdit(const QString& name, const QString& text, const QRect& place) {
  auto* field = new QLineEdit(text, this);
  field->setObjectName(name);
  field->setGeometry(place);
  return field;
}

void TEditDlg::CreateParameterArea() {
  look::SetBold(look::AddLabel(this, QStringLiteral("Parametrs"), QRect(RightPart, 2, 200, 16)));
  // Three columns, one per group, in the groups' colours; one row per parameter A, B, C, D, F, G.
  static const char* const Letters[] = {"A", "B", "C", "D", "F", "G"};
  static const char* const Initial[] = {"1", "1", "2", "3", "4", "5"};
  const QColor ground[] = {look::Lime, look::Yellow, look::Red};
  for (int group = 0; group < GroupCount; ++group) {
    const int left = RightPart + group * 100;
    for (int k = 0; k < ParametersPerGroup; ++k) {
      const QString name = QString::fromLatin1(Letters[k]) + QString::number(group + 1);
      const int top = 22 + 22 * k;
      const bool exponential = group == 0 && k == ParametersPerGroup - 1;
      QLabel* label =
          look::AddLabel(this, exponential ? QStringLiteral("G1E") : name, QRect(left, top, 30, FieldHeight));
      if (exponential) {
        look::SetBold(label);
        look::SetTextColour(label, look::Red);
      }
      QLineEdit* field = AddEdit(QStringLiteral("Edit") + name, QString::fromLatin1(Initial[k]),
                                 QRect(left + 30, top, 64, FieldHeight));
      look::SetGroundColour(field, ground[group]);
      parameterFields_[group * ParametersPerGroup + k] = field;
    }
    // The group's slot range, shown and never read.
    static const char* const RangeName[] = {"Edit1", "Edit2", "Edit8"};
    static const char* const RangeText[] = {"1   -:-  50", "51 -:- 75", "76 -:-100"};
    look::AddLabel(this, QStringLiteral("for"), QRect(left, 156, 30, FieldHeight));
    QLineEdit* range = AddEdit(QString::fromLatin1(RangeName[group]), QString::fromLatin1(RangeText[group]),
                               QRect(left + 30, 156, 64, FieldHeight));
    look::SetGroundColour(range, ground[group]);
    look::SetTextColour(range, look::Blue);
  }

  look::SetBold(look::AddLabel(this, QStringLiteral("Differential of time"), QRect(648, 2, 136, 16)));
  look::AddLabel(this, QStringLiteral("dt="), QRect(648, 22, 24, FieldHeight));
  EditDT = AddEdit(QStringLiteral("EditDT"), QStringLiteral("0,01"), QRect(672, 22, 108, FieldHeight));

  QLineEdit* note =
      AddEdit(QStringLiteral("Edit3"),
              QStringLiteral("Attention: G1E is parametr of exponentials part of function PESE"),
              QRect(RightPart, 180, ClientWidth - RightPart - 6, 24));
  // Large red bold type, narrowed as much as the whole note needs to fit the field (inside its
  // frame and text margins).
  QFont large = note->font();
  large.setPixelSize(16);
  large.setBold(true);
  const int room = note->width() - 12;
  for (int stretch = 99; stretch >= 50 && QFontMetrics(large).horizontalAdvance(note->text()) > room;
       --stretch)
    large.setStretch(stretch);
  note->setFont(large);
  look::SetTextColour(note, look::Red);
}

void TEditDlg::CreateParticleArea() {
  const int top = 208;
  look::AddLabel(this, QStringLiteral("Gravon or Taon"), QRect(RightPart, top, 90, FieldHeight));
  NumberOfTaon = look::AddLabel(this, QStringLiteral("1"), QRect(RightPart + 92, top, 40, FieldHeight));
  NumberOfTaon->setObjectName(QStringLiteral("NumberOfTaon"));
  look::SetBold(NumberOfTaon);
  DaoTrue = new QCheckBox(QStringLiteral("There is Gravon or Taon"), this);
  DaoTrue->setObjectName(QStringLiteral("DaoTrue"));
  DaoTrue->setGeometry(RightPart + 140, top, 190, FieldHeight);
  Submit = new QPushButton(style()->standardIcon(QStyle::SP_DialogYesButton), QStringLiteral("&Yes"), this);
  Submit->setObjectName(QStringLiteral("Submit"));
  Submit->setGeometry(ClientWidth - 6 - 96, top - 2, 96, 25);

  // Two rows of three fields, the position under the heading "Coordinats" and the velocity
  // under "VeloCity".
  const struct {
    const char* heading;
    const char* names[3];
    const char* labels[3];
    QLineEdit** fields[3];
  } rows[] = {{"Coordinats", {"EditX", "EditY", "EditZ"}, {"X =", "Y =", "Z ="}, {&EditX, &EditY, &EditZ}},
              {"VeloCity", {"EditV", "EditU", "EditW"}, {"V =", "U =", "W ="}, {&EditV, &EditU, &EditW}}};
  for (int r = 0; r < 2; ++r) {
    const int headingTop = top + 22 + 36 * r;
    const int rowTop = headingTop + HeadingHeight;
    look::SetBold(look::AddLabel(this, QString::fromLatin1(rows[r].heading),
                                 QRect(RightPart, headingTop, 120, HeadingHeight)));
    for (int k = 0; k < 3; ++k) {
      const int left = RightPart + 146 * k;
      QLabel* label =
          look::AddLabel(this, QString::fromLatin1(rows[r].labels[k]), QRect(left, rowTop, 27, FieldHeight));
      label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      label->setIndent(2);
      *rows[r].fields[k] = AddEdit(QString::fromLatin1(rows[r].names[k]), QStringLiteral("0"),
                                   QRect(left + 27, rowTop, 113, FieldHeight));
    }
  }
}

void TEditDlg::CreateGrid() {
  DaonsTable = new EditorGrid(4, 101, GridColumnWidth, GridRowHeight, this);
  DaonsTable->setObjectName(QStringLiteral("DaonsTable"));
  const int frame = 2 * DaonsTable->frameWidth();
  const int width = 4 * GridColumnWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + frame;
  const int top = 304;
  DaonsTable->setGeometry(RightPart, top, width, 412 - top);
  DaonsTable->Select(1, 1);
}

void TEditDlg::CreateFileArea() {
  const int top = ClientHeight - 29;
  look::AddLabel(this, QStringLiteral("FileName"), QRect(6, top + 2, 56, FieldHeight));
  EditFileName =
      AddEdit(QStringLiteral("EditFileName"), QStringLiteral("EditFileName"), QRect(62, top, 470, 23));
  look::SetBold(EditFileName);
  look::SetTextColour(EditFileName, look::Blue);
  Saveas = new QPushButton(QStringLiteral("Save As"), this);
  Saveas->setObjectName(QStringLiteral("Saveas"));
  Saveas->setGeometry(538, top - 1, 80, 25);
  OKBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(624, top - 1, 76, 25);
  // Enter presses "OK" unless another button has the focus, which then takes it: every button
  // of the dialog is auto-default, as Qt makes them.
  OKBtn->setDefault(true);
  CancelBtn =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(706, top - 1, 76, 25);
}

void TEditDlg::ConnectControls() {
  const auto onClick = [this](QPushButton* button, void (TEditDlg::*handler)()) {
    connect(button, &QPushButton::clicked, this,
            [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  };
  onClick(Submit, &TEditDlg::SubmitClick);
  onClick(Saveas, &TEditDlg::SaveasClick);
  // "OK" ends the dialog with result OK once its handler is done, also after a cancelled file
  // dialog or an error.
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    Guarded([this] { OKBtnClick(); });
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  // A move of the selection, by mouse or by keyboard, first reloads the row being left, then
  // the new one. A click on the cell already selected reloads it as well; a click that moves
  // the selection reloads the new row twice, which shows the same.
  connect(DaonsTable, &QTableWidget::currentCellChanged, this, [this](int, int, int previousRow, int) {
    Guarded([this, previousRow] {
      if (previousRow >= 0) DaonsTableSelectCell(previousRow + 1);
      DaonsTableClick();
    });
  });
  connect(DaonsTable, &QTableWidget::cellClicked, this, [this] { Guarded([this] { DaonsTableClick(); }); });
  // A double click anywhere on the grid, the fixed row and column included, switches its mode.
  const auto toggle = [this] { Guarded([this] { DaonsTableDblClick(); }); };
  connect(DaonsTable, &QTableWidget::cellDoubleClicked, this, toggle);
  connect(DaonsTable->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, toggle);
  connect(DaonsTable->verticalHeader(), &QHeaderView::sectionDoubleClicked, this, toggle);
}

}  // namespace velmora
