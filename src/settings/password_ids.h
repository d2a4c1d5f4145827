// Control ids of the password dialogs (read by windres and the views).
#pragma once

// TPwdForm, where the user chooses the password.
#define IDD_PWDFORM 1900
#define IDC_LBLENTERPWD 1901
#define IDC_EDENTERPWD 1902
#define IDC_LBLREENTERPWD 1903
#define IDC_EDREENTERPWD 1904

// TInputPwd, the prompt at start-up (its Exit button is IDCANCEL).
#define IDD_INPUTPWD 1910
#define IDC_LBLINPUTPWD 1911
#define IDC_EDINPUTPWD 1912
