#pragma once
// The listing as text: what the listing grid shows of each slot, and the same as lines of
// tab-separated text for the batch tool and anything else that writes it out.

#include <array>
#include <string>

#include "model/Model.h"

namespace velmora {

// The three value cells of slot n: X, Y, Z (or V, U, W with velocities) in the general number
// format with the given separator; three empty texts for an absent slot.
std::array<std::string, 3> ListingCells(const Model& model, int n, bool velocities, char separator);

// One line per slot 1 .. N: the slot number, then for a present slot a tab before each of its
// three cells; an absent slot's line holds its number alone. Every line ends with "\n".
std::string ListingText(const Model& model, bool velocities, char separator);

}  // namespace velmora
