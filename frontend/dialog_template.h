// The updater dialog's layout (dialog template 103): frame, font and
// controls in their order, which is also the tab order. Geometry is in
// dialog units; a view converts it with the base units of the dialog font.
#pragma once

#include <array>
#include <string_view>

namespace kelvane::frontend {

inline constexpr char kApplicationName[] = "Kelvane";

inline constexpr int kSearchButtonId = 1000;
inline constexpr int kUpdateButtonId = 1001;
inline constexpr int kLogBoxId = 1002;

inline constexpr char kSearchButtonText[] = "デバイス検索";
inline constexpr char kUpdateButtonText[] = "アップデート実行";

struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  friend bool operator==(const DialogRect&, const DialogRect&) = default;
};

enum class ControlKind { kPushButton, kEdit };

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::string_view text;
  DialogRect rect;
};

struct DialogTemplate {
  std::string_view caption;
  std::string_view font_face;
  int font_points;
  DialogRect frame;  // the client area
  std::array<ControlTemplate, 3> controls;
};

// Template 103. The push buttons are plain (neither is the default button);
// the edit box is multi-line, editable, scrolls horizontally on its own, has
// no scroll bars and does not take Return.
inline constexpr DialogTemplate kUpdaterDialogTemplate{
    kApplicationName,
    "ＭＳ Ｐゴシック",
    9,
    {0, 0, 265, 129},
    {{
        {kSearchButtonId, ControlKind::kPushButton, kSearchButtonText, {28, 96, 96, 26}},
        {kLogBoxId, ControlKind::kEdit, "", {7, 7, 251, 73}},
        {kUpdateButtonId, ControlKind::kPushButton, kUpdateButtonText, {139, 96, 96, 26}},
    }},
};

// The distance between the tab stops of an edit control, in horizontal
// dialog units.
inline constexpr int kEditTabStopUnits = 32;

// The dialog base units of a font: the horizontal unit is the average width
// of the 52 Latin letters (the width of "A...Za...z" in pixels, halved and
// rounded as Windows does), the vertical unit the font's line height.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
};

inline constexpr std::string_view kBaseUnitAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

DialogBaseUnits BaseUnitsFromFont(int alphabet_width_px, int line_height_px);

// Dialog units to pixels: x and width scale by base x / 4, y and height by
// base y / 8, each rounded to the nearest pixel (halves away from zero).
DialogRect DialogUnitsToPixels(const DialogRect& units, const DialogBaseUnits& base);

}  // namespace kelvane::frontend
