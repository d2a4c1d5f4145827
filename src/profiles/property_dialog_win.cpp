// The connection property dialog TCnPtyForm: loads its model into the controls and reads
// them back.
#include <windows.h>
#include <commctrl.h>

#include "profiles/property_dialog.h"
#include "profiles/property_ids.h"
#include "platform/dialog_win.h"

namespace {

struct SectionIds {
  int Check, Rate, UdFrom, UdTo;
};

constexpr SectionIds kSections[3] = {
    {IDC_CKBSECTION1, IDC_EDSECTION1RATE, IDC_UDSECTION1FROM, IDC_UDSECTION1TO},
    {IDC_CKBSECTION2, IDC_EDSECTION2RATE, IDC_UDSECTION2FROM, IDC_UDSECTION2TO},
    {IDC_CKBSECTION3, IDC_EDSECTION3RATE, IDC_UDSECTION3FROM, IDC_UDSECTION3TO},
};

// In RateField order.
constexpr int kNumberIds[kNumberFields] = {
    IDC_EDGENERALRATE, IDC_EDSECTION1RATE, IDC_EDSECTION2RATE, IDC_EDSECTION3RATE,
    IDC_EDWEEKENDRATE, IDC_EDBUDGETHOURS,  IDC_EDBUDGETMONEY,  IDC_EDBUDGETVOLUME};

constexpr int kPropertyPage = 0;
constexpr int kRatePage = 1;

class TCnPtyForm : public DialogWin {
 public:
  explicit TCnPtyForm(const PropertyDialogInput& input)
      : input_(input),
        fields_(ShowProfile(input.Profile, input.DecimalSeparator)),
        entry_name_(input.Profile.EntryName) {}

  const EntryInfo& Result() const { return result_; }

 protected:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  bool OnOK() override;

 private:
  void ShowPage(int page);
  void ShowPhones();
  void UpdatePhoneButtons();
  void SetUpDown(int id, int low, int high, int position);
  int UpDownPosition(int id) const;
  void ReadFields();

  const PropertyDialogInput& input_;
  PropertyFields fields_;
  std::string entry_name_;  // followed through a rename in the phonebook's edit dialog
  EntryInfo result_;
};

void TCnPtyForm::OnInit() {
  SetWindowTextA(Window(), entry_name_.c_str());
  HWND pages = Item(IDC_PROPERTYPAGES);
  const char* captions[] = {"&Property", "&Rate"};
  for (int page : {kPropertyPage, kRatePage}) {
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(captions[page]);
    SendMessageA(pages, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&tab));
  }
  MaskWithStars(IDC_EDUSERPWD);
  SetText(IDC_EDUSERNAME, fields_.UserName);
  SetText(IDC_EDUSERPWD, fields_.Pwd);
  SetText(IDC_EDDOMAIN, fields_.Domain);
  SetChecked(IDC_CKBPULSEDIAL, fields_.PulseDial);
  ShowPhones();
  for (int i = 0; i < kNumberFields; ++i)
    SetText(kNumberIds[i], fields_.Numbers[i]);
  for (int i = 0; i < 3; ++i) {
    SetChecked(kSections[i].Check, fields_.SectionEnabled[i]);
    SetUpDown(kSections[i].UdFrom, kHourLow, kHourHigh, fields_.From[i]);
    SetUpDown(kSections[i].UdTo, kHourLow, kHourHigh, fields_.To[i]);
  }
  SetChecked(IDC_CKBWEEKEND, fields_.WeekendEnabled);
  SetUpDown(IDC_UDBILLINGDAY, kBillingDayLow, kBillingDayHigh, fields_.BillingDay);
  SetText(IDC_EDFREEHOURS, fields_.FreeHours);
  ShowPage(kPropertyPage);
  CenterOnOwner();
}

void TCnPtyForm::OnCommand(int id, int code) {
  PhoneNumbers& phones = fields_.Phones;
  switch (id) {
    case IDC_EDPN:
      if (code == EN_CHANGE) {
        phones.EdPNChange(Text(IDC_EDPN));
        UpdatePhoneButtons();
      }
      return;
    case IDC_LBPN:
      // A click and a typed key both end in a new selection.
      if (code == LBN_SELCHANGE) {
        phones.LbPNClick(Choice(IDC_LBPN));
        SetText(IDC_EDPN, phones.PN());
        UpdatePhoneButtons();
      }
      return;
    case IDC_BTNADDPN:
      phones.BtnAddPNClick();
      break;
    case IDC_BTNREPLACEPN:
      phones.BtnReplacePNClick();
      break;
    case IDC_BTNDELETEPN:
      phones.BtnDeletePNClick();
      break;
    case IDC_BTNNEWCONNECTION:
      input_.NewConnection(Window());
      return;
    case IDC_BTNEDITCONNECTION:
      entry_name_ = input_.EditConnection(Window(), entry_name_);
      SetWindowTextA(Window(), entry_name_.c_str());
      return;
    default:
      return;
  }
  ShowPhones();  // after a phone-number button
}

void TCnPtyForm::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_PROPERTYPAGES && header.code == TCN_SELCHANGE)
    ShowPage(static_cast<int>(SendMessageA(Item(IDC_PROPERTYPAGES), TCM_GETCURSEL, 0, 0)));
}

bool TCnPtyForm::OnOK() {
  ReadFields();
  result_ = input_.Profile;
  if (const auto problem = StoreProfile(fields_, input_.DecimalSeparator, result_)) {
    ShowError(problem->Text);
    ShowPage(problem->Field < 0 ? kPropertyPage : kRatePage);
    Focus(problem->Field < 0                  ? IDC_EDUSERNAME
          : problem->Field == kFreeHoursField ? IDC_EDFREEHOURS
                                              : kNumberIds[problem->Field]);
    return false;
  }
  result_.EntryName = entry_name_;
  const PropertySaved saved = input_.Save(result_);
  if (saved.Result != PropertySaved::Saved)
    ShowError(saved.Text);
  if (saved.Result == PropertySaved::Gone)
    EndDialog(Window(), IDCANCEL);
  return saved.Result == PropertySaved::Saved;
}

// The controls of the page not shown are hidden, so that neither Tab nor a mnemonic
// reaches them.
void TCnPtyForm::ShowPage(int page) {
  SendMessageA(Item(IDC_PROPERTYPAGES), TCM_SETCURSEL, page, 0);
  for (int id = IDC_PROPERTYPAGE_FIRST; id <= IDC_RATEPAGE_LAST; ++id) {
    const bool on_property_page = id <= IDC_PROPERTYPAGE_LAST;
    if (HWND control = Item(id))
      ShowWindow(control, on_property_page == (page == kPropertyPage) ? SW_SHOW : SW_HIDE);
  }
}

void TCnPtyForm::ShowPhones() {
  const PhoneNumbers& phones = fields_.Phones;
  FillChoices(IDC_LBPN, phones.Numbers(), phones.Selected());
  SetText(IDC_EDPN, phones.PN());
  UpdatePhoneButtons();
}

void TCnPtyForm::UpdatePhoneButtons() {
  const PhoneButtons buttons = fields_.Phones.UpdatePhoneButtons();
  Enable(IDC_BTNADDPN, buttons.Add);
  Enable(IDC_BTNREPLACEPN, buttons.Replace);
  Enable(IDC_BTNDELETEPN, buttons.Delete);
}

void TCnPtyForm::SetUpDown(int id, int low, int high, int position) {
  SendMessageA(Item(id), UDM_SETRANGE32, low, high);
  SendMessageA(Item(id), UDM_SETPOS32, 0, position);
}

// The up-down's position stays in its range whatever was typed into its edit.
int TCnPtyForm::UpDownPosition(int id) const {
  BOOL failed = FALSE;
  return static_cast<int>(
      SendMessageA(Item(id), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
}

void TCnPtyForm::ReadFields() {
  fields_.UserName = Text(IDC_EDUSERNAME);
  fields_.Pwd = Text(IDC_EDUSERPWD);
  fields_.Domain = Text(IDC_EDDOMAIN);
  fields_.PulseDial = Checked(IDC_CKBPULSEDIAL);
  for (int i = 0; i < kNumberFields; ++i)
    fields_.Numbers[i] = Text(kNumberIds[i]);
  for (int i = 0; i < 3; ++i) {
    fields_.SectionEnabled[i] = Checked(kSections[i].Check);
    fields_.From[i] = UpDownPosition(kSections[i].UdFrom);
    fields_.To[i] = UpDownPosition(kSections[i].UdTo);
  }
  fields_.WeekendEnabled = Checked(IDC_CKBWEEKEND);
  fields_.BillingDay = UpDownPosition(IDC_UDBILLINGDAY);
  fields_.FreeHours = Text(IDC_EDFREEHOURS);
}

}  // namespace

std::optional<EntryInfo> ShowPropertyDialog(HWND owner, const PropertyDialogInput& input) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  TCnPtyForm form(input);
  if (!form.RunModal(owner, IDD_PROPERTY))
    return std::nullopt;
  return form.Result();
}
