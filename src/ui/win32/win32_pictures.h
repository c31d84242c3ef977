// The pictures and icons the forms name, loaded from the executable's resources:
// PNG pictures as RCDATA named after their file ("logo.png"), decoded with GDI+, and
// icons as ICON resources named after the picture's base name ("tav.png" -> "TAV").
#pragma once
#include <windows.h>

#include <string>

namespace Gdiplus {
class Bitmap;
}

namespace ui::win32 {

// Starts GDI+ at the first construction; it stays started until the process ends.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

// The decoded picture (premultiplied 32-bit), cached for the process; null when the
// resource is missing or cannot be decoded.
Gdiplus::Bitmap* LoadPicture(const std::string& name);

// The icon of a resource name at a size in pixels, from the ICON resource of its base name,
// else made from the picture; cached; null when neither exists.
HICON LoadIconPicture(const std::string& name, int size);

}  // namespace ui::win32
