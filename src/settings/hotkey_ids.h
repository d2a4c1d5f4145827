// The hotkey dialog's template and control ids, read by windres and the code alike.
#pragma once

#define IDD_HOTKEYS 1500
#define IDC_CKBENABLEHOTKEYREDIAL 1501
#define IDC_HKREDIAL 1502
#define IDC_CKBENABLEHOTKEYDIAL 1503
#define IDC_HKDIAL 1504
#define IDC_CKBENABLEHOTKEYHANGUP 1505
#define IDC_HKHANGUP 1506
#define IDC_CKBENABLEHOTKEYKEEP 1507
#define IDC_HKKEEP 1508
#define IDC_CKBSHOWMAINWHENHOTKEY 1509
