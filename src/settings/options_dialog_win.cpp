// The Options dialog's window: loads the form's controls into the four pages, reads them
// back, and hands every click that has a rule to the form.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <iterator>

#include "platform/library_loader_win.h"
#include "settings/options_dialog.h"
#include "settings/options_ids.h"
#include "settings/password_dialog.h"

namespace {

struct CheckBinding {
  int Id;
  bool OptionControls::*Field;
};

constexpr CheckBinding kChecks[] = {
    {IDC_CKBMINTOTRAY, &OptionControls::CkbMinToTray},
    {IDC_CKBALWAYSONTOP, &OptionControls::CkbAlwaysOnTop},
    {IDC_CKBCOPYIP, &OptionControls::CkbCopyIP},
    {IDC_CKBSETPWD, &OptionControls::CkbSetPWD},
    {IDC_CKBWRITELOGS, &OptionControls::CkbWriteLogs},
    {IDC_CKBRUNONSTARTUP, &OptionControls::CkbRunOnStartup},
    {IDC_CKBAUTOUPDATE, &OptionControls::CkbAutoUpdate},
    {IDC_CKBDETAILEDLOG, &OptionControls::CkbDetailedLog},
    {IDC_CKBMINSPEED, &OptionControls::CkbMinSpeed},
    {IDC_CKBAUTODIAL, &OptionControls::CkbAutoDial},
    {IDC_CKBCONNECTONSTARTUP, &OptionControls::CkbConnectOnStartup},
    {IDC_CKBKEEPCONNECTION, &OptionControls::CkbKeepConnection},
    {IDC_CKBPINGSRV, &OptionControls::CkbPingSrv},
    {IDC_CKBSTOPONREFUSAL, &OptionControls::CkbStopOnRefusal},
    {IDC_CKBLONGERWAIT, &OptionControls::CkbLongerWait},
    {IDC_CKBNEXTNUMBERWHENBUSY, &OptionControls::CkbNextNumberWhenBusy},
    {IDC_CKBSOUNDEFFECT, &OptionControls::CkbSoundEffect},
    {IDC_CKBDEADLINE, &OptionControls::CkbDeadLine},
    {IDC_CKBRESUMECHECK, &OptionControls::CkbResumeCheck},
    {IDC_CKBPATIENTRETRY, &OptionControls::CkbPatientRetry},
    {IDC_CKBNOTICES, &OptionControls::CkbNotices},
};

// Radio buttons with consecutive ids, their group box (if any) just before the first.
struct RadioBinding {
  int FirstId;
  int Count;
  int32_t OptionControls::*Field;
};

constexpr RadioBinding kRadios[] = {
    {IDC_RBCOPYIP0, 3, &OptionControls::RgCopyIP},
    {IDC_RBCONNECTONSTARTUP0, 2, &OptionControls::RgConnectOnStartup},
    {IDC_RBTOTALRATES, 3, &OptionControls::DataRateOf},
};

struct UpDownBinding {
  int Id;
  UpDownRange Range;
  int32_t OptionControls::*Field;
};

constexpr UpDownBinding kUpDowns[] = {
    {IDC_UDWAITTIME, kWaitTimeRange, &OptionControls::UdWaitTime},
    {IDC_UDREDIALAFTER, kRedialAfterRange, &OptionControls::UdRedialAfter},
    {IDC_UDPINGSRV, kPingSrvRange, &OptionControls::UdPingSrv},
    {IDC_UDSTOPAFTER, kStopAfterRange, &OptionControls::UdStopAfterFailures},
    {IDC_UDSCALE, kScaleRange, &OptionControls::UdScale},
    {IDC_UDDEADLINEECHOES, kDeadLineEchoesRange, &OptionControls::UdDeadLineEchoes},
    {IDC_UDRESUMESETTLE, kResumeSettleRange, &OptionControls::UdResumeSettle},
    {IDC_UDPATIENTRETRY, kPatientRetryRange, &OptionControls::UdPatientRetryMinutes},
};

// The sound rows in tag order.
struct SoundRowIds {
  int Check, Edit, Browse, Play;
};

constexpr SoundRowIds kSoundRows[] = {
    {IDC_CKBCONNECTSOUND, IDC_EDCONNECTSOUNDFILE, IDC_BTNCONNECTBROWSE, IDC_BTNPLAYCONNECTSOUND},
    {IDC_CKBDISCONNECTSOUND, IDC_EDDISCONNECTSOUNDFILE, IDC_BTNDISCONNECTBROWSE,
     IDC_BTNPLAYDISCONNECTSOUND},
    {IDC_CKBERRORSOUND, IDC_EDERRORSOUNDFILE, IDC_BTNERRORBROWSE, IDC_BTNPLAYERRORSOUND},
};

constexpr const char* kPageCaptions[] = {"&General", "&Connection", "&Graph && Sound",
                                         "Line watc&h"};
constexpr int kPageCount = static_cast<int>(std::size(kPageCaptions));
// Where each page's ids begin, and where the last one's end.
constexpr int kPageIds[] = {IDC_OPTIONS_GENERAL_FIRST, IDC_OPTIONS_CONNECTION_FIRST,
                            IDC_OPTIONS_GRAPHSOUND_FIRST, IDC_OPTIONS_LINEWATCH_FIRST,
                            IDC_OPTIONS_PAGES_END};

class OptionsDialog : public DialogWin {
 public:
  explicit OptionsDialog(TOptionForm& form) : form_(form) {}

 protected:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  bool OnOK() override;

 private:
  void AddPages();
  void ShowPage(int index);
  void Load();
  void Read();
  void UpdateOptionControls();
  void EnableIds(int first, int last, bool on);
  // The tag of the sound row whose Browse or Play button `id` is; 0 for none.
  int SoundTag(int id, int SoundRowIds::*button) const;

  TOptionForm& form_;
};

void OptionsDialog::OnInit() {
  CenterOnOwner();
  // The pages' controls lie on the tab strip's face: they paint their background as it does.
  // Without the theme library there is no themed face, and the plain background matches.
  static const auto texture = SystemFunction<decltype(&EnableThemeDialogTexture)>(
      "uxtheme.dll", "EnableThemeDialogTexture");
  if (texture)
    texture(Window(), ETDT_ENABLETAB);
  AddPages();
  for (const auto& u : kUpDowns)
    SendDlgItemMessageA(Window(), u.Id, UDM_SETRANGE32, u.Range.Min, u.Range.Max);
  Load();
  UpdateOptionControls();
  ShowPage(0);
  // A portable copy writes to this computer only for these two: they say so.
  if (form_.Portable()) {
    for (int id : {IDC_CKBRUNONSTARTUP, IDC_CKBAUTODIAL}) {
      char caption[128] = {};
      GetDlgItemTextA(Window(), id, caption, sizeof caption);
      SetDlgItemTextA(Window(), id, (std::string(caption) + " (writes to this computer)").c_str());
    }
  }
}

void OptionsDialog::AddPages() {
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageCaptions[i]);
    SendDlgItemMessageA(Window(), IDC_OPTIONPAGES, TCM_INSERTITEMA, i,
                        reinterpret_cast<LPARAM>(&item));
  }
}

void OptionsDialog::ShowPage(int index) {
  if (index < 0 || index >= kPageCount)
    return;
  for (int page = 0; page < kPageCount; ++page) {
    for (int id = kPageIds[page]; id < kPageIds[page + 1]; ++id) {
      if (HWND control = Item(id))
        ShowWindow(control, page == index ? SW_SHOW : SW_HIDE);
    }
  }
}

void OptionsDialog::Load() {
  const OptionControls& c = form_.Controls();
  for (const auto& b : kChecks)
    SetChecked(b.Id, c.*b.Field);
  for (const auto& r : kRadios) {
    if (c.*r.Field >= 0)
      CheckRadioButton(Window(), r.FirstId, r.FirstId + r.Count - 1, r.FirstId + c.*r.Field);
  }
  for (const auto& u : kUpDowns)
    SendDlgItemMessageA(Window(), u.Id, UDM_SETPOS32, 0, c.*u.Field);
  FillChoices(IDC_CBMINSPEED, MinSpeedItems(), c.CbMinSpeed);
  for (size_t i = 0; i < c.Sounds.size(); ++i) {
    SetChecked(kSoundRows[i].Check, c.Sounds[i].Checked);
    SetText(kSoundRows[i].Edit, c.Sounds[i].File);
  }
}

// An up-down's position is what it counts, whatever its edit holds: a text that is no
// number in range leaves the position as it was.
void OptionsDialog::Read() {
  OptionControls& c = form_.Controls();
  for (const auto& b : kChecks)
    c.*b.Field = Checked(b.Id);
  for (const auto& r : kRadios) {
    c.*r.Field = -1;
    for (int i = 0; i < r.Count; ++i) {
      if (Checked(r.FirstId + i))
        c.*r.Field = i;
    }
  }
  for (const auto& u : kUpDowns) {
    BOOL failed = FALSE;
    c.*u.Field = static_cast<int32_t>(
        SendDlgItemMessageA(Window(), u.Id, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  }
  c.CbMinSpeed = Choice(IDC_CBMINSPEED);
  for (size_t i = 0; i < c.Sounds.size(); ++i) {
    c.Sounds[i].Checked = Checked(kSoundRows[i].Check);
    c.Sounds[i].File = Text(kSoundRows[i].Edit);
  }
}

void OptionsDialog::UpdateOptionControls() {
  const OptionEnables e = form_.UpdateOptionControls();
  Enable(IDC_CBMINSPEED, e.CbMinSpeed);
  Enable(IDC_BTNSETPWD, e.BtnSetPWD);
  Enable(IDC_EDPINGSRV, e.EdPingSrv);
  Enable(IDC_CKBDEADLINE, e.CkbDeadLine);
  Enable(IDC_EDDEADLINEECHOES, e.EdDeadLineEchoes);
  Enable(IDC_EDRESUMESETTLE, e.EdResumeSettle);
  Enable(IDC_EDPATIENTRETRY, e.EdPatientRetry);
  EnableIds(IDC_RGCOPYIP, IDC_RBCOPYIP2, e.RgCopyIP);
  EnableIds(IDC_RGCONNECTONSTARTUP, IDC_RBCONNECTONSTARTUP1, e.RgConnectOnStartup);
  for (size_t i = 0; i < e.SoundRows.size(); ++i)
    EnableIds(kSoundRows[i].Edit, kSoundRows[i].Play, e.SoundRows[i]);
}

void OptionsDialog::EnableIds(int first, int last, bool on) {
  for (int id = first; id <= last; ++id)
    Enable(id, on);
}

int OptionsDialog::SoundTag(int id, int SoundRowIds::*button) const {
  for (int i = 0; i < 3; ++i) {
    if (kSoundRows[i].*button == id)
      return i + 1;
  }
  return 0;
}

void OptionsDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED)
    return;
  Read();
  if (const int tag = SoundTag(id, &SoundRowIds::Browse)) {
    form_.BtnConnectBrowseClick(tag);
    SetText(kSoundRows[tag - 1].Edit, form_.Controls().Sounds[tag - 1].File);
  } else if (const int tag = SoundTag(id, &SoundRowIds::Play)) {
    form_.BtnPlayConnectSoundClick(tag);
  } else if (id == IDC_BTNSETPWD) {
    // Owned by this dialog, so that closing it leaves the main window disabled beneath.
    if (const auto password = ShowPasswordDialog(Window(), form_.PendingPassword()))
      form_.PendingPassword() = *password;
  } else {
    UpdateOptionControls();
  }
}

void OptionsDialog::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_OPTIONPAGES && header.code == static_cast<UINT>(TCN_SELCHANGE))
    ShowPage(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
}

bool OptionsDialog::OnOK() {
  Read();
  return true;
}

}  // namespace

bool ShowOptionsDialog(HWND owner, TOptionForm& form) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  OptionsDialog dialog(form);
  return dialog.RunModal(owner, IDD_OPTIONS);
}
