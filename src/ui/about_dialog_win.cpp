// The about box TAboutForm: 400 x 300 pixels of picture, closed by a click anywhere.
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>

#include "ui/about_dialog.h"
#include "ui/about_ids.h"
#include "ui/artwork_win.h"
#include "platform/dialog_win.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

class AboutDialog : public DialogWin {
 public:
  ~AboutDialog() override { DeleteObject(picture_); }

 protected:
  void OnInit() override {
    const int dpi = static_cast<int>(GetDpiForWindow(Window()));
    const int width = ScaleToDpi(kWidth, dpi);
    const int height = ScaleToDpi(kHeight, dpi);
    // A template's caption brings a title bar with it; the box has none, only its title.
    SetWindowLongA(Window(), GWL_STYLE,
                   GetWindowLongA(Window(), GWL_STYLE) & ~(WS_CAPTION | DS_MODALFRAME));
    SetWindowLongA(Window(), GWL_EXSTYLE,
                   GetWindowLongA(Window(), GWL_EXSTYLE) & ~WS_EX_DLGMODALFRAME);
    SetWindowPos(Window(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    CenterOnOwner();
    picture_ = PaintPicture(width, height, dpi);
    SetWindowPos(Item(IDC_IMGABOUT), HWND_BOTTOM, 0, 0, width, height, 0);
    SendMessageA(Item(IDC_IMGABOUT), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(picture_));
    // The picture sized itself to the bitmap; the OK button keeps its corner.
    RECT ok;
    GetWindowRect(Item(IDOK), &ok);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&ok), 2);
    const int margin = ScaleToDpi(8, dpi);
    SetWindowPos(Item(IDOK), HWND_TOP, width - (ok.right - ok.left) - margin,
                 height - (ok.bottom - ok.top) - margin, 0, 0, SWP_NOSIZE);
  }

  void OnCommand(int id, int code) override {
    if (id == IDC_IMGABOUT && (code == STN_CLICKED || code == STN_DBLCLK))
      EndDialog(Window(), IDOK);
  }

 private:
  static HBITMAP PaintPicture(int width, int height, int dpi) {
    uint32_t* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PaintAboutPicture(dc, {0, 0, width, height}, dpi);
    SelectObject(dc, old);
    DeleteDC(dc);
    // GDI leaves the alpha bytes empty, and the picture control would take them as
    // transparency: the picture is opaque throughout.
    for (int i = 0; i < width * height; ++i)
      bits[i] |= 0xFF000000;
    return bitmap;
  }

  HBITMAP picture_ = nullptr;
};

}  // namespace

void ShowAboutBox(HWND owner) {
  AboutDialog dialog;
  dialog.RunModal(owner, IDD_ABOUT);
}
