#pragma once
// A string grid addressed by column and row as the editor's calculators and fill routines see
// it: row 0 is the fixed header row, column 0 the fixed column of slot numbers, and both stay
// in view while the rows scroll. The fixed row and column are the table's headers; the cell
// where they meet is a label over the corner.

#include <QString>
#include <QTableWidget>

class QLabel;

namespace velmora {

class EditorGrid : public QTableWidget {
  Q_OBJECT

 public:
  // columns x rows cells, fixed row and column included; every column `columnWidth` wide and
  // every row `rowHeight` high. Cells cannot be typed into; one cell is selected at a time.
  EditorGrid(int columns, int rows, int columnWidth, int rowHeight, QWidget* parent = nullptr);

  int ColumnCount() const { return columnCount() + 1; }
  int RowCount() const { return rowCount() + 1; }
  QString Cell(int column, int row) const;
  void SetCell(int column, int row, const QString& text);

  // The selected cell in grid coordinates (1 .. RowCount-1, 1 .. ColumnCount-1).
  int SelectedRow() const { return currentRow() + 1; }
  void Select(int column, int row);

 protected:
  void updateGeometries() override;

 private:
  QLabel* corner_;
};

}  // namespace velmora
