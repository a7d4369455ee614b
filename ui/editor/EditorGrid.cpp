#include "ui/editor/EditorGrid.h"

#include <QHeaderView>
#include <QLabel>

namespace velmora {

namespace {

QTableWidgetItem* CellItem(const QString& text = {}) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

EditorGrid::EditorGrid(int columns, int rows, int columnWidth, int rowHeight, QWidget* parent)
    : QTableWidget(rows - 1, columns - 1, parent), corner_(new QLabel(this)) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setCornerButtonEnabled(false);
  setWordWrap(false);

  // The fixed row and column are the size of any other row and column, and a click on them
  // selects nothing.
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setDefaultSectionSize(columnWidth);
  horizontalHeader()->setFixedHeight(rowHeight);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  verticalHeader()->setMinimumSectionSize(rowHeight);
  verticalHeader()->setFixedWidth(columnWidth);
  verticalHeader()->setSectionsClickable(false);
  verticalHeader()->setHighlightSections(false);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  for (int column = 1; column < columns; ++column) setHorizontalHeaderItem(column - 1, CellItem());
  for (int row = 1; row < rows; ++row) {
    setVerticalHeaderItem(row - 1, CellItem());
    for (int column = 1; column < columns; ++column) setItem(row - 1, column - 1, CellItem());
  }
  corner_->setObjectName(QStringLiteral("CornerCell"));
  corner_->setIndent(4);
  corner_->setAutoFillBackground(true);
  corner_->setBackgroundRole(QPalette::Button);
}

QString EditorGrid::Cell(int column, int row) const {
  if (row == 0 && column == 0) return corner_->text();
  if (row == 0) return horizontalHeaderItem(column - 1)->text();
  if (column == 0) return verticalHeaderItem(row - 1)->text();
  return item(row - 1, column - 1)->text();
}

void EditorGrid::SetCell(int column, int row, const QString& text) {
  if (row == 0 && column == 0)
    corner_->setText(text);
  else if (row == 0)
    horizontalHeaderItem(column - 1)->setText(text);
  else if (column == 0)
    verticalHeaderItem(row - 1)->setText(text);
  else
    item(row - 1, column - 1)->setText(text);
}

void EditorGrid::Select(int column, int row) { setCurrentCell(row - 1, column - 1); }

// The corner cell of the fixed row and column sits where the table keeps its corner button.
void EditorGrid::updateGeometries() {
  QTableWidget::updateGeometries();
  const QRect view = viewport()->geometry();
  const int width = verticalHeader()->width(), height = horizontalHeader()->height();
  corner_->setGeometry(view.left() - width, view.top() - height, width, height);
  corner_->raise();
}

}  // namespace velmora
