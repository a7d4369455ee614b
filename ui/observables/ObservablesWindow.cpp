#include "ui/observables/ObservablesWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "documents/SafeWrite.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileNames.h"
#include "ui/common/PictureExport.h"
#include "ui/observables/ObservablesChart.h"

namespace velmora {

namespace {

// What the chart shows when the window first opens: the energy of motion, which a cooling run
// brings to rest and a free run trades with the potential.
constexpr Quantity FirstPicked = Quantity::Kinetic;
constexpr int RateMilliseconds = 500;

}  // namespace

ObservablesWindow::ObservablesWindow(const Model& model, LawSource law, char separator, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), law_(std::move(law)), separator_(separator) {
  setObjectName(QStringLiteral("ObservablesWindow"));
  setWindowTitle(QStringLiteral("Observables"));
  createControls();
  clock_.start();
  resize(760, 420);
}

void ObservablesWindow::createControls() {
  Chart = new ObservablesChart(record_, separator_, this);
  std::array<bool, QuantityCount> picked{};
  picked[static_cast<int>(FirstPicked)] = true;
  Chart->SetPicked(picked);

  auto* side = new QGridLayout;
  for (int q = 0; q < QuantityCount; ++q) {
    const QString name = QString::fromLatin1(QuantityNames[q]);
    Picks[q] = new QCheckBox(name, this);
    Picks[q]->setObjectName(QStringLiteral("Pick_") + name);
    Picks[q]->setChecked(picked[q]);
    QPalette palette = Picks[q]->palette();
    palette.setColor(QPalette::WindowText, ObservablesChart::ColourOf(static_cast<Quantity>(q)));
    Picks[q]->setPalette(palette);
    Values[q] = new QLabel(this);
    Values[q]->setObjectName(QStringLiteral("Value_") + name);
    Values[q]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    side->addWidget(Picks[q], q, 0);
    side->addWidget(Values[q], q, 1, Qt::AlignRight);
    connect(Picks[q], &QCheckBox::toggled, this, [this] { Guarded([this] { PickClick(); }); });
  }
  SeparateScales = new QCheckBox(QStringLiteral("Separate scales"), this);
  SeparateScales->setObjectName(QStringLiteral("SeparateScales"));
  side->addWidget(SeparateScales, QuantityCount, 0, 1, 2);
  connect(SeparateScales, &QCheckBox::toggled, this, [this] { Guarded([this] { SeparateScalesClick(); }); });
  Rate = new QLabel(QStringLiteral("0 steps/s"), this);
  Rate->setObjectName(QStringLiteral("Rate"));
  side->addWidget(Rate, QuantityCount + 1, 0, 1, 2);
  ClearButton = new QPushButton(QStringLiteral("Clear"), this);
  ClearButton->setObjectName(QStringLiteral("ClearButton"));
  ExportTable = new QPushButton(QStringLiteral("Export table ..."), this);
  ExportTable->setObjectName(QStringLiteral("ExportTable"));
  ExportPicture = new QPushButton(QStringLiteral("Export picture ..."), this);
  ExportPicture->setObjectName(QStringLiteral("ExportPicture"));
  side->addWidget(ClearButton, QuantityCount + 2, 0, 1, 2);
  side->addWidget(ExportTable, QuantityCount + 3, 0, 1, 2);
  side->addWidget(ExportPicture, QuantityCount + 4, 0, 1, 2);
  side->setRowStretch(QuantityCount + 5, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Chart, 1);
  layout->addLayout(side);

  connect(ClearButton, &QPushButton::clicked, this, [this] { Guarded([this] { ClearClick(); }); });
  connect(ExportTable, &QPushButton::clicked, this, [this] { Guarded([this] { ExportTableClick(); }); });
  connect(ExportPicture, &QPushButton::clicked, this, [this] { Guarded([this] { ExportPictureClick(); }); });
  RateTimer = new QTimer(this);
  RateTimer->setInterval(RateMilliseconds);
  connect(RateTimer, &QTimer::timeout, this, [this] { Guarded([this] { RateTimerTimer(); }); });
  RateTimer->start();
}

void ObservablesWindow::MarkStep(std::optional<int> step) { Chart->MarkStep(step); }

void ObservablesWindow::Restart() {
  record_.Clear();
  pacing_.Restart();
  MeasureNow();
  ShowLatest();
}

void ObservablesWindow::StepDone() {
  ++steps_;
  const double now = Now();
  if (pacing_.Due(now)) MeasureNow();
  if (!shownLatest_ && Now() - lastRedraw_ >= RedrawMilliseconds * 1e-3) ShowLatest();
}

void ObservablesWindow::MeasureNow() {
  const double start = Now();
  record_.Add(model_.StepCount, Measure(model_, law_()));
  pacing_.Measured(start, Now());
  shownLatest_ = false;
}

// The latest values beside their names, as the chart's legend shows them.
void ObservablesWindow::ShowLatest() {
  Chart->ShowLatest();
  for (int q = 0; q < QuantityCount; ++q) Values[q]->setText(Chart->LatestText(static_cast<Quantity>(q)));
  lastRedraw_ = Now();
  shownLatest_ = true;
}

// The steps seen since the last reading over the time since then; a measurement that a run
// left undrawn is drawn here.
void ObservablesWindow::RateTimerTimer() {
  const double now = Now();
  const double rate = now > rateSince_ ? steps_ / (now - rateSince_) : 0.0;
  Rate->setText(QString::number(qRound64(rate)) + QStringLiteral(" steps/s"));
  steps_ = 0;
  rateSince_ = now;
  if (!shownLatest_) ShowLatest();
}

void ObservablesWindow::PickClick() {
  std::array<bool, QuantityCount> picked{};
  for (int q = 0; q < QuantityCount; ++q) picked[q] = Picks[q]->isChecked();
  Chart->SetPicked(picked);
}

void ObservablesWindow::SeparateScalesClick() { Chart->SetSeparate(SeparateScales->isChecked()); }

void ObservablesWindow::ClearClick() { Restart(); }

void ObservablesWindow::ExportTableClick() {
  const std::optional<QString> name = DialogProvider::Instance().ExportFileName(
      this, QStringLiteral("Export table"), QStringLiteral("Tab-separated tables (*.tsv)"),
      QStringLiteral("tsv"));
  if (!name) return;
  WriteFileSafely(FileName(*name), record_.Table());
}

// The chart as the window shows it now, drawn anew in the chosen kind and size.
void ObservablesWindow::ExportPictureClick() {
  const ObservablesChart* chart = Chart;
  ExportDrawing(this, QStringLiteral("Export picture"),
                {chart->size(),
                 [chart](QPainter& painter, int scale) {
                   painter.setFont(chart->font());
                   chart->Render(painter, chart->size(), scale);
                 },
                 QStringLiteral("Velmora observables")});
}

}  // namespace velmora
