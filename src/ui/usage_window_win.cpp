// The Usage window's view: the choices, the charts drawn with GDI in the system's colours,
// the two tables, the reading thread and Export.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

#include "ui/usage_ids.h"
#include "ui/usage_window_win.h"

namespace {

constexpr UINT kReadingDone = WM_APP + 1;
constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressEveryMs = 100;
constexpr int kQuietTicks = 5;  // half a second without a progress bar
constexpr int kProgressSteps = 1000;
constexpr int kChartIds[] = {IDC_USAGETIMECHART, IDC_USAGECOSTCHART, IDC_USAGEVOLUMECHART};

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int Scaled(HDC dc, int pixels) {
  return MulDiv(pixels, GetDeviceCaps(dc, LOGPIXELSY), 96);
}

void FillBox(HDC dc, int left, int top, int right, int bottom, int color) {
  const RECT box{left, top, right, bottom};
  FillRect(dc, &box, GetSysColorBrush(color));
}

// A hatched square on top of a marked bar, at the foot of an empty one.
void DrawMark(HDC dc, int left, int right, int y) {
  const int size = std::min(right - left, Scaled(dc, 6));
  const int x = left + (right - left - size) / 2;
  const RECT box{x, y - size, x + size, y};
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, GetSysColor(COLOR_WINDOWTEXT));
  FillRect(dc, &box, hatch);
  DeleteObject(hatch);
}

// The chart's caption on top, its largest value's scale at the left, one bar per value
// (the stacked part above it in another colour, a mark above a marked one) and the limit
// as a dashed line.
void DrawChart(const DRAWITEMSTRUCT& item, const UsageChart& chart) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ old_font = SelectObject(
      dc, reinterpret_cast<HFONT>(SendMessageA(GetParent(item.hwndItem), WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  char caption[64] = {};
  GetWindowTextA(item.hwndItem, caption, sizeof(caption));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int line = metrics.tmHeight, pad = Scaled(dc, 4);
  RECT text = {r.left + pad, r.top + pad / 2, r.right - pad, r.top + pad / 2 + line};
  DrawTextA(dc, caption, -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);

  double top_value = chart.limit.value_or(0);
  for (size_t i = 0; i < chart.values.size(); ++i)
    top_value =
        std::max(top_value, chart.values[i] + (chart.stacked.empty() ? 0 : chart.stacked[i]));
  char scale[32];
  std::snprintf(scale, sizeof(scale), "%.1f", top_value);
  text = {r.left + pad, text.bottom, r.right - pad, text.bottom + line};
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, scale, -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);

  const int left = r.left + pad, right = r.right - pad;
  const int top = text.bottom + pad / 2, bottom = r.bottom - pad;
  FillBox(dc, left, bottom, right, bottom + Scaled(dc, 1), COLOR_WINDOWTEXT);
  const size_t count = chart.values.size();
  if (count == 0 || bottom <= top) {
    SelectObject(dc, old_font);
    return;
  }
  const auto y_of = [&](double value) {
    return top_value > 0 ? bottom - static_cast<int>(value / top_value * (bottom - top) + 0.5)
                         : bottom;
  };
  const int width = right - left, gap = count > 12 ? Scaled(dc, 1) : Scaled(dc, 3);
  for (size_t i = 0; i < count; ++i) {
    const int x0 = left + static_cast<int>(width * i / count) + gap / 2;
    const int x1 = left + static_cast<int>(width * (i + 1) / count) - (gap + 1) / 2;
    const int y = y_of(chart.values[i]);
    FillBox(dc, x0, y, std::max(x1, x0 + 1), bottom, COLOR_HIGHLIGHT);
    const int y_top = chart.stacked.empty() ? y : y_of(chart.values[i] + chart.stacked[i]);
    FillBox(dc, x0, y_top, std::max(x1, x0 + 1), y, COLOR_HOTLIGHT);
    if (!chart.marked.empty() && chart.marked[i])
      DrawMark(dc, x0, std::max(x1, x0 + 1), std::max(y_top, top + Scaled(dc, 6)));
  }
  if (chart.limit) {
    // A geometric pen keeps its dashes at any width.
    const LOGBRUSH brush{BS_SOLID, GetSysColor(COLOR_WINDOWTEXT), 0};
    HPEN pen =
        ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, Scaled(dc, 1), &brush, 0, nullptr);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    const int y = y_of(*chart.limit);
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
  }
  SelectObject(dc, old_font);
}

}  // namespace

UsageWindow::UsageWindow(Files& files, Locale& locale, UsageModel model, UsageFiles paths)
    : files_(files), locale_(locale), model_(std::move(model)), paths_(std::move(paths)) {}

UsageWindow::~UsageWindow() {
  StopReading();
  if (IsOpen())
    DestroyWindow(Window());
}

void UsageWindow::Open() {
  OpenModeless(IDD_USAGE);
}

void UsageWindow::Raise() {
  if (IsIconic(Window()))
    ShowWindow(Window(), SW_RESTORE);
  SetForegroundWindow(Window());
}

void UsageWindow::Reread() {
  if (worker_.joinable())
    again_ = true;
  else
    StartReading();
}

void UsageWindow::OnInit() {
  FillChoices(IDC_USAGECONNECTION, model_.ConnectionChoices(), 0);
  FillChoices(IDC_USAGESPAN, UsageModel::SpanChoices(), 0);
  FillChoices(IDC_USAGEMONTH, model_.MonthChoices(), 0);
  HDC dc = GetDC(Window());
  for (const auto& [id, columns] : {std::pair{IDC_USAGEFIGURES, UsageModel::FigureColumns()},
                                    std::pair{IDC_USAGEDROPS, UsageModel::DropColumns()}}) {
    auto scaled = columns;
    for (auto& column : scaled)
      column.second = Scaled(dc, column.second);
    SetListColumns(id, scaled);
    SendMessageA(Item(id), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
  }
  ReleaseDC(Window(), dc);
  ShowFigures();
  StartReading();
}

void UsageWindow::OnCommand(int id, int code) {
  if (code == CBN_SELCHANGE)
    Choose();
  else if (id == IDC_USAGEEXPORT)
    Export();
}

bool UsageWindow::OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      const auto chart = std::find(std::begin(kChartIds), std::end(kChartIds), item.CtlID);
      if (chart == std::end(kChartIds))
        return false;
      DrawChart(item, model_.Charts()[chart - std::begin(kChartIds)]);
      return true;
    }
    case WM_TIMER:
      if (wparam == kProgressTimer)
        ShowProgress();
      return true;
    case kReadingDone:
      ReadingDone();
      return true;
  }
  return false;
}

// The sessions are let go with the window, not kept until it opens again.
void UsageWindow::OnClose() {
  StopReading();
  model_.SetSessions(UsageHistory());
}

void UsageWindow::StartReading() {
  reading_ = std::make_unique<Reading>();
  paths_.sessions_bytes = FileSize(paths_.sessions);
  total_ = paths_.sessions_bytes + FileSize(paths_.time_count);
  ticks_ = 0;
  SetText(IDC_USAGESTATUS, "Reading the records...");
  SetTimer(Window(), kProgressTimer, kProgressEveryMs, nullptr);
  worker_ = std::thread([this, reading = reading_.get(), hwnd = Window()] {
    try {
      reading->read = ReadUsage(
          files_, locale_, paths_,
          [reading](uint64_t done) {
            reading->done = done;
            return !reading->stop;
          },
          reading->history, reading->error);
    } catch (const std::exception& fault) {  // out of memory: said, never let out
      reading->read = false;
      reading->error = fault.what();
    }
    PostMessageA(hwnd, kReadingDone, 0, 0);
  });
}

void UsageWindow::StopReading() {
  if (!worker_.joinable())
    return;
  reading_->stop = true;
  worker_.join();
}

void UsageWindow::ShowProgress() {
  if (++ticks_ < kQuietTicks)
    return;
  HWND bar = Item(IDC_USAGEPROGRESS);
  if (!IsWindowVisible(bar)) {
    SendMessageA(bar, PBM_SETRANGE32, 0, kProgressSteps);
    ShowWindow(bar, SW_SHOW);
  }
  const uint64_t done = std::min<uint64_t>(reading_->done, total_);
  SendMessageA(bar, PBM_SETPOS, total_ ? static_cast<WPARAM>(done * kProgressSteps / total_) : 0,
               0);
}

void UsageWindow::ReadingDone() {
  worker_.join();
  KillTimer(Window(), kProgressTimer);
  Show(IDC_USAGEPROGRESS, false);
  if (reading_->read) {
    model_.SetSessions(std::move(reading_->history));
    SetText(IDC_USAGESTATUS, "");
  } else {
    SetText(IDC_USAGESTATUS, "Cannot read the records: " + reading_->error);
  }
  ShowFigures();
  if (std::exchange(again_, false))
    StartReading();
}

void UsageWindow::Choose() {
  model_.Choose(Choice(IDC_USAGECONNECTION), Choice(IDC_USAGESPAN), Choice(IDC_USAGEMONTH));
  ShowFigures();
}

void UsageWindow::ShowFigures() {
  Enable(IDC_USAGEMONTH, model_.MonthChosen());
  SetListRows(IDC_USAGEFIGURES, model_.FigureRows());
  SetListRows(IDC_USAGEDROPS, model_.DropRows());
  for (int id : kChartIds)
    InvalidateRect(Item(id), nullptr, FALSE);
}

void UsageWindow::Export() {
  char file[MAX_PATH] = {};
  const std::string name = model_.ExportFileName();
  name.copy(file, sizeof(file) - 1);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Window();
  // The first form is the file's own; the second is what the spreadsheet here opens in
  // columns.
  dialog.lpstrFilter = "CSV (comma)\0*.csv\0CSV for this computer's spreadsheet\0*.csv\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof(file);
  dialog.lpstrTitle = "Export Sessions";
  dialog.lpstrDefExt = "csv";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&dialog))
    return;
  std::string error;
  if (files_.ReplaceWhole(file, model_.ExportText(dialog.nFilterIndex == 2), error))
    SetText(IDC_USAGESTATUS, std::string("Exported to ") + file);
  else
    ShowError(std::string("Cannot write ") + file + ": " + error);
}
