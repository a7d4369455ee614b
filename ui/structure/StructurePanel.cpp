#include "ui/structure/StructurePanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/ProgramError.h"
#include "text/NumberText.h"
#include "text/StructureText.h"
#include "ui/common/ErrorReport.h"
#include "ui/main/SceneCanvas.h"
#include "ui/structure/HistogramView.h"

namespace velmora {

namespace {

// The table's columns: the widest lines (the clusters') have five cells.
constexpr int TableColumns = 5;
// Wide enough for a name such as "gyration_eigenvalues" and for a number's 15 digits; a longer
// cell loses digits from its middle, as the listing's do.
constexpr int NameColumnWidth = 150;
constexpr int ValueColumnWidth = 140;

bool SamePoints(const Points& a, const Points& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const Point3& p, const Point3& q) { return p.X == q.X && p.Y == q.Y && p.Z == q.Z; });
}

}  // namespace

StructurePanel::StructurePanel(const Model& model, char separator, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), separator_(separator) {
  setObjectName(QStringLiteral("StructurePanel"));
  setWindowTitle(QStringLiteral("Structure"));
  createControls();
  clock_.start();
  resize(NameColumnWidth + 3 * ValueColumnWidth + 40, 640);
}

StructurePanel::~StructurePanel() {
  for (const Setting& setting : settingRows_) {
    setting.field->disconnect(this);
    setting.automatic->disconnect(this);
  }
}

void StructurePanel::createControls() {
  auto* settings = new QGridLayout;
  AddSetting(*settings, {"Cutoff", "cutoff", &StructureSettings::cutoff, &Structure::cutoff});
  AddSetting(*settings, {"BinWidth", "bin width", &StructureSettings::binWidth, &Structure::binWidth});
  AddSetting(*settings, {"Tolerance", "tolerance", &StructureSettings::tolerance, &Structure::tolerance});
  Summary = new QLabel(this);
  Summary->setObjectName(QStringLiteral("StructureSummary"));
  Summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Histogram = new HistogramView(separator_, this);
  Table = new QTableWidget(0, TableColumns, this);
  Table->setObjectName(QStringLiteral("StructureTable"));
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->horizontalHeader()->hide();
  Table->horizontalHeader()->setDefaultSectionSize(ValueColumnWidth);
  Table->setColumnWidth(0, NameColumnWidth);
  Table->setTextElideMode(Qt::ElideMiddle);
  Table->setWordWrap(false);
  Table->verticalHeader()->hide();
  Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 4);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(settings);
  layout->addWidget(Summary);
  layout->addWidget(Histogram, 1);
  layout->addWidget(Table, 2);

  Ticker = new QTimer(this);
  Ticker->setObjectName(QStringLiteral("StructureTicker"));
  Ticker->setInterval(SceneCanvas::FrameMilliseconds);
  connect(Ticker, &QTimer::timeout, this, [this] { Tick(); });
}

// A row of the settings: its caption, its field and "Auto", checked.
void StructurePanel::AddSetting(QGridLayout& grid, const SettingKind& kind) {
  const int row = static_cast<int>(settingRows_.size());
  QString caption = QString::fromLatin1(kind.name);
  caption[0] = caption[0].toUpper();
  auto* field = new QLineEdit(this);
  field->setObjectName(QString::fromLatin1(kind.objectName));
  field->setReadOnly(true);
  auto* label = new QLabel(caption, this);
  label->setBuddy(field);
  auto* automatic = new QCheckBox(QStringLiteral("Auto"), this);
  automatic->setObjectName(QString::fromLatin1(kind.objectName) + QStringLiteral("Auto"));
  automatic->setChecked(true);
  grid.addWidget(label, row, 0);
  grid.addWidget(field, row, 1);
  grid.addWidget(automatic, row, 2);
  settingRows_.push_back({automatic, field, kind});
  connect(automatic, &QCheckBox::toggled, this,
          [this, row] { Guarded([&] { AutoClick(settingRows_[row]); }); });
  connect(field, &QLineEdit::editingFinished, this,
          [this, row] { Guarded([&] { FieldEdited(settingRows_[row]); }); });
}

// "Auto" on: the analysis chooses again. Off: the value in use stays, to its last bit, and can be
// typed over.
void StructurePanel::AutoClick(const Setting& setting) {
  const bool automatic = setting.automatic->isChecked();
  setting.field->setReadOnly(automatic);
  settings_.*setting.kind.value = automatic ? 0.0L : shown_.*setting.kind.inUse;
  emit SettingsChanged(settings_);
  AnalyseNow();
}

// A refused value gives way to the value in use again.
void StructurePanel::FieldEdited(const Setting& setting) {
  if (setting.automatic->isChecked()) return;
  real value = 0.0L;
  try {
    value = ParseReal(setting.field->text().toStdString(), separator_);
  } catch (...) {
    ShowInUse(setting);
    throw;
  }
  if (!(value > 0.0L) || !std::isfinite(value)) {
    ShowInUse(setting);
    throw ProgramError(std::string("The ") + setting.kind.name + " must be a number above 0");
  }
  if (value == settings_.*setting.kind.value) return;
  settings_.*setting.kind.value = value;
  emit SettingsChanged(settings_);
  AnalyseNow();
}

void StructurePanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Ticker->start();
  AnalyseNow();
}

// Once per display frame while shown: a scene that changed since the last analysis is analysed
// again once the pacing allows.
void StructurePanel::Tick() {
  if (!isVisible()) {
    Ticker->stop();
    return;
  }
  if (seenAny_ && SamePoints(PresentPoints(model_), seen_)) return;
  if (!pacing_.Due(clock_.nsecsElapsed() * 1e-9)) return;
  AnalyseNow();
}

void StructurePanel::AnalyseNow() {
  const double start = clock_.nsecsElapsed() * 1e-9;
  std::vector<int> slotNumbers;
  seen_ = PresentPoints(model_, &slotNumbers);
  seenAny_ = true;
  ++analyses_;
  try {
    shown_ = AnalyseStructure(seen_, settings_);
    error_.clear();
    text_ = StructureText(shown_, slotNumbers);
    Summary->setText(
        QStringLiteral("Point group %1, %2 clusters, largest %3, mean coordination %4")
            .arg(QString::fromStdString(shown_.group.symbol.empty() ? "none" : shown_.group.symbol))
            .arg(shown_.clusters.size())
            .arg(shown_.largest)
            .arg(QString::fromStdString(FormatReal(shown_.meanCoordination, separator_))));
    Histogram->SetHistogram(shown_.histogram, shown_.binWidth, shown_.cutoff);
  } catch (const ProgramError& error) {
    // A faulted scene or a bin width too narrow for it: the panel says so and waits for a change.
    error_ = error.what();
    text_.clear();
    Summary->setText(QString::fromStdString(error_));
    Histogram->Clear();
  }
  FillTable(text_);
  ShowSettingsInUse();
  pacing_.Measured(start, clock_.nsecsElapsed() * 1e-9);
}

std::string StructurePanel::Text() const {
  if (!error_.empty()) throw ProgramError(error_);
  return text_;
}

// Every field shows the value the last analysis used, in the user's number format, but for one
// being typed into.
void StructurePanel::ShowSettingsInUse() {
  for (const Setting& setting : settingRows_)
    if (!setting.field->hasFocus() || setting.field->isReadOnly()) ShowInUse(setting);
}

void StructurePanel::ShowInUse(const Setting& setting) {
  setting.field->setText(QString::fromStdString(FormatReal(shown_.*setting.kind.inUse, separator_)));
}

void StructurePanel::FillTable(const std::string& text) {
  const QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  Table->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < lines.size(); ++row) {
    const QStringList cells = lines[row].split(QLatin1Char('\t'));
    for (int column = 0; column < TableColumns; ++column) {
      const QString cell = column < cells.size() ? cells[column] : QString();
      QTableWidgetItem* item = Table->item(row, column);
      if (!item) Table->setItem(row, column, item = new QTableWidgetItem);
      if (item->text() != cell) item->setText(cell);
    }
  }
}

}  // namespace velmora
