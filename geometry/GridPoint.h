#pragma once
// The editor's calculators take their points from the text of the editor's grid, not from the
// model: they work on whatever the grid shows (positions, or velocities in velocity mode), as
// rounded to 15 significant digits by the number text.

#include <functional>
#include <string>

#include "model/Point3.h"

namespace velmora {

// The cell texts of a grid with rows 0 .. RowCount-1 (row 0 is the header) and columns 1 .. 3
// holding the three coordinates of the slot of that row number.
struct GridText {
  int RowCount = 0;
  std::function<std::string(int column, int row)> Cell;
};

// The point of grid row n, where n is the integer text of a calculator's number field. Each
// step converts as it goes, so the first failing one decides the message:
//   the number text is no integer             -> ConversionError "'<text>' is not a valid integer value"
//   n is negative                             -> ProgramError "List index out of bounds (<n>)"
//   a cell is no number: the header row (n = 0), an absent particle's empty row, or a row
//   beyond the grid, whose cells read as empty -> ConversionError "'<cell>' is not a valid
//                                                 floating point value"
Point3 ReadGridPoint(const std::string& numberText, const GridText& grid, char separator);

}  // namespace velmora
