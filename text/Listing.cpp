#include "text/Listing.h"

#include "text/NumberText.h"

namespace velmora {

std::array<std::string, 3> ListingCells(const Model& model, int n, bool velocities, char separator) {
  if (!model.Present[n]) return {};
  if (velocities)
    return {FormatReal(model.V[n], separator), FormatReal(model.U[n], separator),
            FormatReal(model.W[n], separator)};
  return {FormatReal(model.X[n], separator), FormatReal(model.Y[n], separator),
          FormatReal(model.Z[n], separator)};
}

std::string ListingText(const Model& model, bool velocities, char separator) {
  std::string text;
  for (int n = 1; n <= model.N; ++n) {
    text += std::to_string(n);
    if (model.Present[n])
      for (const std::string& cell : ListingCells(model, n, velocities, separator)) text += '\t' + cell;
    text += '\n';
  }
  return text;
}

}  // namespace velmora
