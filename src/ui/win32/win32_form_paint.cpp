#include "ui/win32/win32_form_paint.h"

#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "platform/win32/text_win32.h"
#include "ui/win32/win32_form_window.h"
#include "ui/win32/win32_pictures.h"

namespace ui::win32 {

using platform::Widen;

namespace {

COLORREF Ref(const Color& c) { return RGB(c.r, c.g, c.b); }

// Text of a label as it is drawn: single-line labels that do not fit grow to the right (the
// fonts may differ a little from the ones the layout was drawn with), long ones wrap.
struct LabelLayout {
    RECT rect;
    UINT format;
};

LabelLayout LayoutLabel(HDC dc, const Label& l, const RECT& designed) {
    const std::wstring text = Widen(l.caption());
    UINT format = DT_NOPREFIX | DT_WORDBREAK;
    if (l.alignment == Alignment::Right) format |= DT_RIGHT;
    if (l.alignment == Alignment::Center) format |= DT_CENTER;
    RECT r = designed;
    if (text.find(L'\n') == std::wstring::npos) {
        RECT need{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int designedW = designed.right - designed.left;
        const int needed = need.right + 2;
        // Labels drawn for several lines wrap within their box as designed.
        const bool oneLineDesign = designed.bottom - designed.top < 2 * (need.bottom - need.top);
        if (oneLineDesign && needed > designedW && needed <= designedW * kLabelGrowth) {
            // Grows away from its aligned edge: left-aligned to the right, right-aligned to the left.
            format &= ~static_cast<UINT>(DT_WORDBREAK);
            if (l.alignment == Alignment::Left) r.right = r.left + needed;
            if (l.alignment == Alignment::Right) r.left = r.right - needed;
            if (l.alignment == Alignment::Center) {
                r.left -= (needed - designedW) / 2;
                r.right = r.left + needed;
            }
        }
    }
    return {r, format};
}

void PaintLayer(FormWindow& fw, HDC dc, int w, int h) {
    Form& f = *fw.form;
    Gdiplus::Graphics g(dc);
    if (Gdiplus::Bitmap* bg = f.picture.empty() ? nullptr : LoadPicture(f.picture)) {
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        if (f.stretchPicture) {
            g.DrawImage(bg, Gdiplus::Rect(0, 0, w, h));
        } else {
            // At its own size from the top left; what lies beyond the client area is cut off.
            RECT all{0, 0, w, h};
            FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
            g.DrawImage(bg, Gdiplus::Rect(0, 0, static_cast<INT>(bg->GetWidth()), static_cast<INT>(bg->GetHeight())));
        }
    } else {
        RECT all{0, 0, w, h};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    for (Control* c : f.controls()) {
        if (!IsLayer(c->kind()) || !Shown(*c) || !c->hostData) continue;
        const RECT r = CwOf(*c)->rect;
        switch (c->kind()) {
            case ControlKind::Image:
                if (Gdiplus::Bitmap* pic = LoadPicture(static_cast<Image*>(c)->picture)) {
                    g.DrawImage(pic, Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top));
                }
                if (static_cast<Image*>(c)->borderStyle() != 0) {
                    // A single-line border just inside the image's rectangle.
                    RECT edge = r;
                    FrameRect(dc, &edge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
                }
                break;
            case ControlKind::Shape: {
                auto* s = static_cast<Shape*>(c);
                g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
                Gdiplus::GraphicsPath path;
                const float x = r.left + 0.5f, y = r.top + 0.5f;
                const float rw = static_cast<float>(r.right - r.left - 1), rh = static_cast<float>(r.bottom - r.top - 1);
                const float d = 8.0f;
                path.AddArc(x, y, d, d, 180, 90);
                path.AddArc(x + rw - d, y, d, d, 270, 90);
                path.AddArc(x + rw - d, y + rh - d, d, d, 0, 90);
                path.AddArc(x, y + rh - d, d, d, 90, 90);
                path.CloseFigure();
                if (s->fillColor) {
                    Gdiplus::SolidBrush fill(Gdiplus::Color(200, s->fillColor->r, s->fillColor->g, s->fillColor->b));
                    g.FillPath(&fill, &path);
                }
                Gdiplus::Pen pen(Gdiplus::Color(255, s->borderColor.r, s->borderColor.g, s->borderColor.b), 1.0f);
                g.DrawPath(&pen, &path);
                g.SetSmoothingMode(Gdiplus::SmoothingModeDefault);
                break;
            }
            case ControlKind::Line: {
                auto* l = static_cast<Line*>(c);
                const RECT origin = OffsetOf(*c, *fw.host);
                HPEN pen = CreatePen(PS_SOLID, 1, Ref(l->color));
                HGDIOBJ old = SelectObject(dc, pen);
                const int x1 = origin.left + fw.host->pxX(l->x1), y1 = origin.top + fw.host->pxY(l->y1);
                const int x2 = origin.left + fw.host->pxX(l->x2), y2 = origin.top + fw.host->pxY(l->y2);
                MoveToEx(dc, x1, y1, nullptr);
                LineTo(dc, x2, y2);
                SetPixel(dc, x2, y2, Ref(l->color));  // LineTo leaves out the last pixel
                SelectObject(dc, old);
                DeleteObject(pen);
                break;
            }
            default:
                break;
        }
    }
}

void PaintFrame(FormWindow& fw, HDC dc, HDC layer, const Frame& fr) {
    const RECT r = CwOf(fr)->rect;
    if (!fr.border) {  // a plain container in the window colour
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    HGDIOBJ oldFont = SelectObject(dc, fw.host->font(fr.font));
    const std::wstring text = Widen(fr.caption());
    SIZE ts{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ts);
    RECT border = r;
    border.top += ts.cy / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
        RECT gap{r.left + 8, r.top, r.left + 8 + ts.cx, r.top + ts.cy};
        BitBlt(dc, gap.left, gap.top, gap.right - gap.left, gap.bottom - gap.top, layer, gap.left, gap.top, SRCCOPY);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, fr.enabled() ? (fr.foreColor ? Ref(*fr.foreColor) : GetSysColor(COLOR_WINDOWTEXT))
                                      : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), -1, &gap, DT_NOPREFIX | DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    SelectObject(dc, oldFont);
}

void PaintLabel(FormWindow& fw, HDC dc, const Label& l) {
    HGDIOBJ oldFont = SelectObject(dc, fw.host->font(l.font));
    LabelLayout lay = LayoutLabel(dc, l, CwOf(l)->rect);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, l.enabled() ? (l.foreColor ? Ref(*l.foreColor) : GetSysColor(COLOR_WINDOWTEXT))
                                 : GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = Widen(l.caption());
    DrawTextW(dc, text.c_str(), -1, &lay.rect, lay.format);
    SelectObject(dc, oldFont);
}

// A bitmap in the screen's format. The kept bitmaps are not made compatible with the paint
// target: that may be a memory DC of a themed control (WM_PRINTCLIENT), and a bitmap made
// from a memory DC that holds its default bitmap is monochrome.
HBITMAP ScreenBitmap(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return b;
}

}  // namespace

void PaintForm(FormWindow& fw, HDC target, const RECT& clip) {
    RECT client;
    GetClientRect(fw.hwnd, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    HDC mem = CreateCompatibleDC(target);
    if (!fw.layer || fw.layerSize.cx != w || fw.layerSize.cy != h) {
        if (fw.layer) DeleteObject(fw.layer);
        fw.layer = ScreenBitmap(w, h);
        fw.layerSize = SIZE{w, h};
        HGDIOBJ old = SelectObject(mem, fw.layer);
        PaintLayer(fw, mem, w, h);
        SelectObject(mem, old);
    }
    // The back buffer is made once per client size, not on every paint: the labels of the
    // dashboard repaint twice a second for as long as the program runs.
    if (!fw.back || fw.backSize.cx != w || fw.backSize.cy != h) {
        if (fw.back) DeleteObject(fw.back);
        fw.back = ScreenBitmap(w, h);
        fw.backSize = SIZE{w, h};
    }
    if (!fw.layer || !fw.back) {  // out of GDI memory: nothing to draw with
        if (fw.layer) DeleteObject(fw.layer);
        if (fw.back) DeleteObject(fw.back);
        fw.layer = fw.back = nullptr;
        DeleteDC(mem);
        return;
    }
    HDC layerDc = CreateCompatibleDC(target);
    HGDIOBJ oldLayer = SelectObject(layerDc, fw.layer);
    HGDIOBJ oldFrame = SelectObject(mem, fw.back);
    IntersectClipRect(mem, clip.left, clip.top, clip.right, clip.bottom);
    BitBlt(mem, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, layerDc, clip.left, clip.top,
           SRCCOPY);
    for (Control* c : fw.form->controls()) {
        if (!c->hostData || !Shown(*c)) continue;
        if (c->kind() == ControlKind::Frame) PaintFrame(fw, mem, layerDc, *static_cast<Frame*>(c));
        if (c->kind() == ControlKind::Label) PaintLabel(fw, mem, *static_cast<Label*>(c));
    }
    BitBlt(target, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top,
           SRCCOPY);
    SelectObject(mem, oldFrame);
    SelectObject(layerDc, oldLayer);
    DeleteDC(layerDc);
    DeleteDC(mem);
}

}  // namespace ui::win32
