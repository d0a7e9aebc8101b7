// The themed look of the standard controls: push buttons, edit boxes, drop-down lists with
// their opened lists, and group boxes. Labels and picture boxes draw themselves and are not
// touched by it.
#pragma once

#include <QColor>

namespace brenvik {

// Switches the themed look on for every window of the application, those that exist and
// those created later: 1 blue, 2 olive green, 3 silver. Any other number switches it off and
// brings back the style and palette the application had before the first switch. Switching
// on replaces a look switched on earlier. GUI thread only; needs a QApplication.
void ThemeLook(int scheme);

// The scheme now on, or 0 when the look is off.
[[nodiscard]] int ThemeScheme();

// The colour of the frame the look draws around bordered edit boxes and opened lists:
// RGB(123,158,189), RGB(164,185,127) and RGB(198,197,215) for schemes 1, 2 and 3; an invalid
// colour for any other number.
[[nodiscard]] QColor ThemeFrameColour(int scheme);

}  // namespace brenvik
