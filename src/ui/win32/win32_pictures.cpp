#include "ui/win32/win32_pictures.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cctype>
#include <cstring>
#include <map>
#include <memory>

#include "platform/win32/text_win32.h"

namespace ui::win32 {

// GDI+ is started once and stays started until the process ends: the decoded pictures are
// cached for the process, and a GDI+ object used or deleted after GdiplusShutdown is
// undefined behaviour (a crash at exit on Windows).
GdiplusSession::GdiplusSession() {
    static const ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&t, &input, nullptr) == Gdiplus::Ok ? t : 0;
    }();
    token_ = token;
}

GdiplusSession::~GdiplusSession() = default;

namespace {

std::unique_ptr<Gdiplus::Bitmap> Decode(const std::string& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, platform::Widen(name).c_str(), reinterpret_cast<LPCWSTR>(RT_RCDATA));
    if (!res) return nullptr;
    const DWORD size = SizeofResource(module, res);
    HGLOBAL data = LoadResource(module, res);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes || size == 0) return nullptr;
    // GDI+ reads the stream lazily: decode from a private copy and keep a converted clone only.
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    std::memcpy(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(copy, TRUE, &stream) != S_OK) {
        GlobalFree(copy);
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
    std::unique_ptr<Gdiplus::Bitmap> result;
    if (decoded && decoded->GetLastStatus() == Gdiplus::Ok) {
        const INT w = static_cast<INT>(decoded->GetWidth()), h = static_cast<INT>(decoded->GetHeight());
        result = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppPARGB);
        Gdiplus::Graphics g(result.get());
        g.DrawImage(decoded.get(), 0, 0, w, h);
    }
    decoded.reset();
    stream->Release();
    if (result && result->GetLastStatus() != Gdiplus::Ok) result.reset();
    return result;
}

std::string IconResourceName(const std::string& picture) {
    std::string base = picture.substr(0, picture.rfind('.'));
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return base;
}

}  // namespace

Gdiplus::Bitmap* LoadPicture(const std::string& name) {
    // Never destroyed: its bitmaps must not be deleted after the end of main (see above).
    static auto& cache = *new std::map<std::string, std::unique_ptr<Gdiplus::Bitmap>>;
    auto it = cache.find(name);
    if (it == cache.end()) it = cache.emplace(name, Decode(name)).first;
    return it->second.get();
}

HICON LoadIconPicture(const std::string& name, int size) {
    static std::map<std::pair<std::string, int>, HICON> cache;
    const auto key = std::make_pair(name, size);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), platform::Widen(IconResourceName(name)).c_str(),
                                               IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon) {
        if (Gdiplus::Bitmap* picture = LoadPicture(name)) {
            Gdiplus::Bitmap scaled(size, size, PixelFormat32bppARGB);
            Gdiplus::Graphics g(&scaled);
            g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            g.DrawImage(picture, 0, 0, size, size);
            scaled.GetHICON(&icon);
        }
    }
    cache[key] = icon;
    return icon;
}

}  // namespace ui::win32
