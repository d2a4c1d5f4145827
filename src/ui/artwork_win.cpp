// The program's pictures, drawn with GDI on a four-times canvas and averaged down.
#include "ui/artwork_win.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "tarvolin_version.h"

namespace {

constexpr int kOversample = 4;

// A coverage mask four times the size of its target, drawn in design units (the
// target's pixels per unit given at creation), then blended in one colour.
class SmoothCanvas {
 public:
  SmoothCanvas(int width, int height, double pixels_per_unit)
      : width_(width), height_(height), k_(pixels_per_unit * kOversample) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateTopDownDib(width * kOversample, height * kOversample, &bits_);
    old_ = SelectObject(dc_, bitmap_);
    SetPolyFillMode(dc_, WINDING);
  }
  ~SmoothCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  SmoothCanvas(const SmoothCanvas&) = delete;
  SmoothCanvas& operator=(const SmoothCanvas&) = delete;

  // Later shapes cut holes instead of adding coverage.
  void Cutting(bool on) { ink_ = on ? 0 : 0xFFFFFF; }

  void Disc(double cx, double cy, double r) {
    Use(nullptr, true);
    Ellipse(dc_, P(cx - r), P(cy - r), P(cx + r), P(cy + r));
  }
  void Ring(double cx, double cy, double r, double width) { Oval(cx, cy, r, r, width); }
  void Oval(double cx, double cy, double rx, double ry, double width) {
    Use(Pen(width), false);
    Ellipse(dc_, P(cx - rx), P(cy - ry), P(cx + rx), P(cy + ry));
  }
  void Line(double x1, double y1, double x2, double y2, double width) {
    Polyline({{x1, y1}, {x2, y2}}, width);
  }
  void Polyline(std::initializer_list<std::pair<double, double>> points, double width) {
    Polyline(std::vector<std::pair<double, double>>(points), width);
  }
  void Polyline(const std::vector<std::pair<double, double>>& points, double width) {
    Use(Pen(width), false);
    std::vector<POINT> at = Points(points);
    ::Polyline(dc_, at.data(), static_cast<int>(at.size()));
  }
  // An arc of the circle, from `from` to `to` degrees (0 at 3 o'clock, counter-clockwise
  // as on a map, y pointing down on the screen).
  void Arc(double cx, double cy, double r, double from, double to, double width) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i <= 32; ++i) {
      const double a = (from + (to - from) * i / 32) * std::numbers::pi / 180;
      points.push_back({cx + r * std::cos(a), cy - r * std::sin(a)});
    }
    Polyline(points, width);
  }
  void Polygon(const std::vector<std::pair<double, double>>& points) {
    Use(nullptr, true);
    std::vector<POINT> at = Points(points);
    ::Polygon(dc_, at.data(), static_cast<int>(at.size()));
  }
  void Box(double l, double t, double r, double b, double radius) {
    Use(nullptr, true);
    RoundRect(dc_, P(l), P(t), P(r), P(b), P(2 * radius), P(2 * radius));
  }
  void Frame(double l, double t, double r, double b, double radius, double width) {
    Use(Pen(width), false);
    RoundRect(dc_, P(l), P(t), P(r), P(b), P(2 * radius), P(2 * radius));
  }
  void Text(const char* text, double cx, double cy, double height, const char* face, int weight) {
    HFONT font = CreateFontA(-P(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                             0, ANTIALIASED_QUALITY, 0, face);
    HGDIOBJ old = SelectObject(dc_, font);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, ink_);
    SIZE size{};
    GetTextExtentPoint32A(dc_, text, lstrlenA(text), &size);
    TextOutA(dc_, P(cx) - size.cx / 2, P(cy) - size.cy / 2, text, lstrlenA(text));
    SelectObject(dc_, old);
    DeleteObject(font);
  }

  // Blends the coverage onto `dc` with its top-left corner at (x, y).
  void Blend(HDC dc, int x, int y, COLORREF color) {
    Use(nullptr, false);
    uint32_t* pixel = nullptr;
    HDC out_dc = CreateCompatibleDC(nullptr);
    HBITMAP out = CreateTopDownDib(width_, height_, &pixel);
    const int wide = width_ * kOversample;
    for (int py = 0; py < height_; ++py) {
      for (int px = 0; px < width_; ++px) {
        unsigned sum = 0;
        for (int sy = 0; sy < kOversample; ++sy) {
          for (int sx = 0; sx < kOversample; ++sx)
            sum += bits_[(py * kOversample + sy) * wide + px * kOversample + sx] & 0xFF;
        }
        const unsigned a = sum / (kOversample * kOversample);
        // Premultiplied, as the blend wants it.
        pixel[py * width_ + px] = a << 24 | (GetRValue(color) * a / 255) << 16 |
                                  (GetGValue(color) * a / 255) << 8 | (GetBValue(color) * a / 255);
      }
    }
    HGDIOBJ old = SelectObject(out_dc, out);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // GDI's own blend, which msimg32's AlphaBlend forwards to: no library to load for it.
    GdiAlphaBlend(dc, x, y, width_, height_, out_dc, 0, 0, width_, height_, blend);
    SelectObject(out_dc, old);
    DeleteObject(out);
    DeleteDC(out_dc);
  }

 private:
  int P(double units) const { return static_cast<int>(std::lround(units * k_)); }
  std::vector<POINT> Points(const std::vector<std::pair<double, double>>& points) const {
    std::vector<POINT> at;
    for (const auto& [x, y] : points)
      at.push_back({P(x), P(y)});
    return at;
  }
  HPEN Pen(double width) const {
    LOGBRUSH brush{BS_SOLID, ink_, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                        std::max(1, P(width)), &brush, 0, nullptr);
  }
  // Selects `pen` (none: no outline) and a fill brush of the ink or none, freeing the
  // previous ones.
  void Use(HPEN pen, bool filled) {
    HGDIOBJ old_pen = SelectObject(dc_, pen ? pen : GetStockObject(NULL_PEN));
    HGDIOBJ old_brush = SelectObject(
        dc_, filled ? static_cast<HGDIOBJ>(CreateSolidBrush(ink_)) : GetStockObject(NULL_BRUSH));
    if (old_pen != GetStockObject(NULL_PEN))
      DeleteObject(old_pen);
    if (old_brush != GetStockObject(NULL_BRUSH))
      DeleteObject(old_brush);
  }

  int width_, height_;
  double k_;
  COLORREF ink_ = 0xFFFFFF;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_;
};

using Points = std::vector<std::pair<double, double>>;

// A regular star or gear outline: `count` points alternating between two radii.
Points Alternating(double cx, double cy, int count, double outer, double inner, double turn) {
  Points points;
  for (int i = 0; i < 2 * count; ++i) {
    const double a = (turn + i * 180.0 / count) * std::numbers::pi / 180;
    const double r = i % 2 ? inner : outer;
    points.push_back({cx + r * std::cos(a), cy - r * std::sin(a)});
  }
  return points;
}

void Handset(SmoothCanvas& c, double turn) {
  c.Arc(12, 12, 7.5, 200 + turn, 340 + turn, 3.2);
  for (double end : {200 + turn, 340 + turn}) {
    const double a = end * std::numbers::pi / 180;
    c.Disc(12 + 7.5 * std::cos(a), 12 - 7.5 * std::sin(a), 2.8);
  }
}

void PaintGlyph(SmoothCanvas& c, Glyph glyph) {
  switch (glyph) {
    case Glyph::New:
      c.Frame(5, 2.5, 17, 21.5, 2, 1.8);
      c.Disc(17, 17, 5.5);
      c.Cutting(true);
      c.Line(17, 14, 17, 20, 1.8);
      c.Line(14, 17, 20, 17, 1.8);
      break;
    case Glyph::Edit:
      c.Polygon({{15.5, 3.5}, {20.5, 8.5}, {9, 20}, {3.5, 20.5}, {4, 15}});
      c.Cutting(true);
      c.Line(13, 6.5, 17.5, 11, 1.2);
      break;
    case Glyph::Delete:
      c.Line(4.5, 6, 19.5, 6, 2);
      c.Line(10, 3.5, 14, 3.5, 2);
      c.Polygon({{6, 8}, {18, 8}, {16.8, 21.5}, {7.2, 21.5}});
      c.Cutting(true);
      for (double x : {9.8, 12.0, 14.2})
        c.Line(x, 11, x, 18.5, 1.1);
      break;
    case Glyph::Keep:
      c.Arc(12, 12, 7.5, 60, 330, 2.4);
      c.Polygon({{13.5, 2.5}, {19.5, 5.2}, {14.2, 9.6}});
      c.Disc(12, 12, 2.2);
      break;
    case Glyph::Schedule:
      c.Frame(3, 5, 21, 21, 2.5, 1.8);
      c.Box(3, 5, 21, 10, 2);
      c.Line(8, 2.5, 8, 7, 2);
      c.Line(16, 2.5, 16, 7, 2);
      for (double x : {7.5, 12.0, 16.5}) {
        c.Box(x - 1.4, 12.5, x + 1.4, 15.2, 0.5);
        c.Box(x - 1.4, 16.5, x + 1.4, 19.2, 0.5);
      }
      break;
    case Glyph::Action:
      c.Polygon({{14, 2}, {5, 13.5}, {11, 13.5}, {9.5, 22}, {19, 10}, {13, 10}, {15.5, 2}});
      break;
    case Glyph::HotKey:
      c.Frame(2.5, 6, 21.5, 19, 2.5, 1.8);
      for (double x : {6.5, 10.2, 13.8, 17.5})
        c.Box(x - 1.2, 8.8, x + 1.2, 11.2, 0.5);
      c.Line(8, 15.2, 16, 15.2, 2);
      break;
    case Glyph::Option:
      c.Polygon(Alternating(12, 12, 8, 10.2, 7.6, 11.25));
      c.Disc(12, 12, 7.8);
      c.Cutting(true);
      c.Disc(12, 12, 3.2);
      break;
    case Glyph::Help:
      c.Disc(12, 12, 10);
      c.Cutting(true);
      c.Text("?", 12, 12.3, 15, "Arial", FW_BOLD);
      break;
    case Glyph::Dial:
      Handset(c, 45);
      c.Arc(15, 9, 4, -10, 100, 1.6);
      c.Arc(15, 9, 7.5, -10, 100, 1.6);
      break;
    case Glyph::HangUp:
      Handset(c, 180);
      c.Line(8, 12, 16, 12, 2.6);
      break;
    case Glyph::Property:
      for (double y : {6.0, 12.0, 18.0})
        c.Line(3.5, y, 20.5, y, 1.8);
      c.Disc(8, 6, 2.8);
      c.Disc(15.5, 12, 2.8);
      c.Disc(10, 18, 2.8);
      break;
    case Glyph::Default:
      c.Polygon(Alternating(12, 12.8, 5, 10.5, 4.4, 90));
      break;
    case Glyph::ViewSpeed:
      c.Line(8, 19, 8, 6, 2.2);
      c.Polygon({{3.5, 9}, {8, 3.5}, {12.5, 9}});
      c.Line(16, 5, 16, 18, 2.2);
      c.Polygon({{11.5, 15}, {16, 20.5}, {20.5, 15}});
      break;
    case Glyph::ViewTime:
      c.Ring(12, 12, 8.8, 2);
      c.Polyline({{12, 6.5}, {12, 12}, {16, 14.5}}, 2);
      break;
    case Glyph::ViewIP:
      c.Ring(12, 12, 9, 1.8);
      c.Oval(12, 12, 4.2, 9, 1.5);
      c.Line(3, 12, 21, 12, 1.5);
      c.Line(12, 3, 12, 21, 1.5);
      break;
    case Glyph::ViewExpense:
      c.Ring(12, 12, 9, 2);
      c.Text("$", 12, 12.3, 13, "Arial", FW_BOLD);
      break;
  }
}

void PaintTitleGlyph(SmoothCanvas& c, TitleGlyph glyph) {
  switch (glyph) {
    case TitleGlyph::Menu:
      for (double y : {7.0, 12.0, 17.0})
        c.Line(5, y, 19, y, 2.4);
      break;
    case TitleGlyph::Minimize:
      c.Line(5.5, 17, 18.5, 17, 2.6);
      break;
    case TitleGlyph::Tray:
      c.Polyline({{6, 6}, {16, 16}}, 2.4);
      c.Polygon({{18.5, 9}, {18.5, 18.5}, {9, 18.5}});
      break;
  }
}

void FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {
      {rect.left, rect.top, static_cast<COLOR16>(GetRValue(top) << 8),
       static_cast<COLOR16>(GetGValue(top) << 8), static_cast<COLOR16>(GetBValue(top) << 8), 0},
      {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
       static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8),
       0}};
  GRADIENT_RECT r{0, 1};
  // GDI's own, as msimg32's GradientFill forwards to it.
  GdiGradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}

// The program's mark: a modem with its lights and the waves of a line.
void PaintMark(SmoothCanvas& c, bool lit) {
  c.Box(3, 11, 21, 19, 2.5);
  c.Line(6, 11, 9, 5.5, 1.6);
  c.Arc(9, 5.5, 3, 20, 160, 1.3);
  c.Cutting(true);
  for (double x : {7.0, 10.5, 14.0})
    c.Disc(x, 15, lit ? 1.3 : 0.9);
}

void DrawText(HDC dc, const char* text, RECT rect, int height, int weight, COLORREF color,
              UINT format) {
  HFONT font = CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           CLEARTYPE_QUALITY, 0, "Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextA(dc, text, -1, &rect, format | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

// The picture both windows share: a deep gradient, the mark, the name and a line under
// it; `lines` are the smaller texts below.
void PaintPicture(HDC dc, const RECT& rect, int dpi, std::initializer_list<const char*> lines) {
  auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  FillGradient(dc, rect, SkinRgb(skin_color::kTitle), SkinRgb(skin_color::kAccent));
  SmoothCanvas mark(s(96), s(96), s(96) / 24.0);
  PaintMark(mark, true);
  mark.Blend(dc, rect.left + s(152), rect.top + s(28), RGB(255, 255, 255));
  DrawText(dc, kAppNameAndVersion, {rect.left, rect.top + s(124), rect.right, rect.top + s(168)},
           s(34), FW_BOLD, RGB(255, 255, 255), DT_CENTER | DT_SINGLELINE);
  DrawText(dc, "Dial-up connection manager",
           {rect.left, rect.top + s(168), rect.right, rect.top + s(192)}, s(15), FW_NORMAL,
           RGB(214, 228, 245), DT_CENTER | DT_SINGLELINE);
  int top = s(214);
  for (const char* line : lines) {
    DrawText(dc, line, {rect.left, rect.top + top, rect.right, rect.top + top + s(18)}, s(12),
             FW_NORMAL, RGB(214, 228, 245), DT_CENTER | DT_SINGLELINE);
    top += s(18);
  }
}

}  // namespace

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

HBITMAP CreateTopDownDib(int width, int height, uint32_t** bits) {
  const BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits)
    *bits = static_cast<uint32_t*>(pixels);
  return bitmap;
}

int ScaleToDpi(int value, int dpi) {
  return MulDiv(value, dpi, 96);
}

COLORREF SkinRgb(uint32_t color) {
  return RGB(color >> 16 & 0xFF, color >> 8 & 0xFF, color & 0xFF);
}

uint32_t GlyphColor(Glyph glyph) {
  switch (glyph) {
    case Glyph::Dial:
      return skin_color::kGo;
    case Glyph::HangUp:
    case Glyph::Delete:
      return skin_color::kStop;
    case Glyph::Default:
      return 0xE0A526;
    default:
      return skin_color::kAccent;
  }
}

void DrawGlyph(HDC dc, Glyph glyph, const RECT& box, COLORREF color) {
  const int size = box.right - box.left;
  SmoothCanvas canvas(size, size, size / 24.0);
  PaintGlyph(canvas, glyph);
  canvas.Blend(dc, box.left, box.top, color);
}

void DrawTitleGlyph(HDC dc, TitleGlyph glyph, const RECT& box, COLORREF color) {
  const int size = box.right - box.left;
  SmoothCanvas canvas(size, size, size / 24.0);
  PaintTitleGlyph(canvas, glyph);
  canvas.Blend(dc, box.left, box.top, color);
}

void PaintWelcomePicture(HDC dc, const RECT& rect, int dpi) {
  PaintPicture(dc, rect, dpi, {"Starting..."});
}

void PaintAboutPicture(HDC dc, const RECT& rect, int dpi) {
  PaintPicture(dc, rect, dpi, {kHomePage, kSupportMail, "Click anywhere to close"});
}

HICON CreateStateIcon(bool online, int size) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP colour = CreateTopDownDib(size, size);
  HGDIOBJ old = SelectObject(dc, colour);
  SmoothCanvas mark(size, size, size / 24.0);
  PaintMark(mark, online);
  mark.Blend(dc, 0, 0, SkinRgb(online ? skin_color::kGo : skin_color::kMuted));
  SelectObject(dc, old);
  DeleteDC(dc);
  // The alpha of the colour bitmap decides; the mask is only required to exist.
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO icon_info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&icon_info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}
