// Painting of the form: the picture layer, then frames and labels, into one memory bitmap.
// The picture layer (background picture, images, lines and shapes) is kept at client size and
// made again when the size or a control on it changes; the back buffer is kept between paints.
#pragma once
#include <windows.h>

namespace ui::win32 {

struct FormWindow;

// A single-line caption that does not fit its label may take up to this many times the label's
// width (the average label's longest text needs a little over twice its width).
constexpr int kLabelGrowth = 3;

// Paints the clip rectangle of the form's client area into target.
void PaintForm(FormWindow& fw, HDC target, const RECT& clip);

}  // namespace ui::win32
