#include "geometry/GridPoint.h"

#include "model/ProgramError.h"
#include "text/NumberText.h"

namespace velmora {

namespace {

std::string CellOfRow(const GridText& grid, int column, int row) {
  if (row < 0) throw ProgramError("List index out of bounds (" + std::to_string(row) + ")");
  // Rows past the grid's end hold nothing, like the empty rows of absent particles.
  return row < grid.RowCount ? grid.Cell(column, row) : std::string();
}

}  // namespace

Point3 ReadGridPoint(const std::string& numberText, const GridText& grid, char separator) {
  const int row = ParseInteger(numberText);
  Point3 point;
  point.X = ParseReal(CellOfRow(grid, 1, row), separator);
  point.Y = ParseReal(CellOfRow(grid, 2, row), separator);
  point.Z = ParseReal(CellOfRow(grid, 3, row), separator);
  return point;
}

}  // namespace velmora
