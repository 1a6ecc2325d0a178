#include "frontend/dialog_template.h"

namespace kelvane::frontend {

namespace {

// value * numerator / denominator rounded to the nearest integer, halves
// away from zero (the rounding of the system's MulDiv).
int ScaleRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  const long long rounded =
      product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(rounded);
}

}  // namespace

DialogBaseUnits BaseUnitsFromFont(int alphabet_width_px, int line_height_px) {
  const int letters = static_cast<int>(kBaseUnitAlphabet.size()) / 2;
  return DialogBaseUnits{(alphabet_width_px / letters + 1) / 2, line_height_px};
}

DialogRect DialogUnitsToPixels(const DialogRect& units, const DialogBaseUnits& base) {
  return DialogRect{ScaleRounded(units.x, base.x, 4), ScaleRounded(units.y, base.y, 8),
                    ScaleRounded(units.width, base.x, 4), ScaleRounded(units.height, base.y, 8)};
}

}  // namespace kelvane::frontend
