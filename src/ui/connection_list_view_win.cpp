// The connection list CnList and its image list CnImgList.
#include <windows.h>
#include <commctrl.h>

#include "ui/connection_list_view.h"

namespace {

constexpr int kSelectedMark = 0;
constexpr int kDefaultMark = 1;
constexpr int kOtherMark = 2;
constexpr int kMarkSize = 16;

// Draws one 16 x 16 mark: a green arrow for the selected connection, a gold disc for
// the default one, a grey ring for the others.
HBITMAP DrawMark(HDC screen, int mark) {
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kMarkSize, kMarkSize);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, kMarkSize, kMarkSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const COLORREF colours[] = {RGB(40, 160, 40), RGB(230, 170, 20), RGB(160, 160, 160)};
  HPEN pen = CreatePen(PS_SOLID, 2, colours[mark]);
  HBRUSH brush = CreateSolidBrush(colours[mark]);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, mark == kOtherMark ? GetStockObject(NULL_BRUSH) : brush);
  if (mark == kSelectedMark) {
    const POINT arrow[] = {{3, 2}, {13, 8}, {3, 14}};
    Polygon(dc, arrow, 3);
  } else {
    Ellipse(dc, 3, 3, 13, 13);
  }
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(brush);
  DeleteObject(pen);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

HIMAGELIST CreateMarks() {
  HIMAGELIST marks = ImageList_Create(kMarkSize, kMarkSize, ILC_COLOR24 | ILC_MASK, 3, 0);
  HDC screen = GetDC(nullptr);
  for (int mark : {kSelectedMark, kDefaultMark, kOtherMark}) {
    HBITMAP bitmap = DrawMark(screen, mark);
    ImageList_AddMasked(marks, bitmap, RGB(255, 255, 255));
    DeleteObject(bitmap);
  }
  ReleaseDC(nullptr, screen);
  return marks;
}

void SetImage(HWND list, int item, int sub_item, int image) {
  LVITEMA cell{};
  cell.mask = LVIF_IMAGE;
  cell.iItem = item;
  cell.iSubItem = sub_item;
  cell.iImage = image;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

void* CreateConnectionList(void* parent, int id, void* font) {
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "Connections",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT |
                                  LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                              9, 100, 426, 160, static_cast<HWND>(parent),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
  ListView_SetImageList(list, CreateMarks(), LVSIL_SMALL);  // freed with the list
  const char* headings[] = {"Connection Name", "User Name"};
  const int widths[] = {160, 150};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(headings[i]);
    column.cx = widths[i];
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  return list;
}

void FillConnectionItems(void* handle, const std::vector<ConnectionRow>& rows) {
  HWND list = static_cast<HWND>(handle);
  ListView_DeleteAllItems(list);
  int index = 0;
  for (const auto& row : rows) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index++;
    item.pszText = const_cast<char*>(row.EntryName.c_str());
    item.iImage = row.Selected ? kSelectedMark : I_IMAGENONE;
    const int at =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMA cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>(row.UserName.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
    SetImage(list, at, 1, row.IsDefault ? kDefaultMark : kOtherMark);
  }
}

void MarkConnectionItem(void* handle, int index) {
  HWND list = static_cast<HWND>(handle);
  const int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i)
    SetImage(list, i, 0, i == index ? kSelectedMark : I_IMAGENONE);
}

std::string NewlyHighlightedCaption(const void* notification) {
  const auto* header = static_cast<const NMHDR*>(notification);
  if (header->code != LVN_ITEMCHANGED)
    return "";
  const auto* change = static_cast<const NMLISTVIEW*>(notification);
  if (!(change->uNewState & LVIS_SELECTED) || (change->uOldState & LVIS_SELECTED))
    return "";
  char caption[300] = {};
  ListView_GetItemText(header->hwndFrom, change->iItem, 0, caption, sizeof(caption));
  return caption;
}

bool IsDoubleClickOnItem(const void* notification) {
  const auto* header = static_cast<const NMHDR*>(notification);
  return header->code == NM_DBLCLK &&
         ListView_GetNextItem(header->hwndFrom, -1, LVNI_SELECTED) >= 0;
}
