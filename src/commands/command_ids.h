// Control and menu-command ids of the main window, shared by the window, its menus and
// the tests that drive it.
#pragma once

// Controls.
constexpr int IDC_CNLIST = 100;
constexpr int IDC_BTNNEW = 101;
constexpr int IDC_BTNEDIT = 102;
constexpr int IDC_BTNDELETE = 103;
constexpr int IDC_BTNKEEP = 104;
constexpr int IDC_BTNSCHEDULE = 105;
constexpr int IDC_BTNACTION = 106;
constexpr int IDC_BTNHOTKEY = 107;
constexpr int IDC_BTNOPTION = 108;
constexpr int IDC_BTNHELP = 109;
constexpr int IDC_BTNDIAL = 110;
constexpr int IDC_BTNHANGUP = 111;
constexpr int IDC_BTNPROPERTY = 112;
constexpr int IDC_BTNDEFAULT = 113;
constexpr int IDC_BTNVIEWSPEED = 120;
constexpr int IDC_BTNVIEWTIME = 121;
constexpr int IDC_BTNVIEWIP = 122;
constexpr int IDC_BTNVIEWEXPENSE = 123;
constexpr int IDC_LBLINFO1CAPTION = 130;
constexpr int IDC_LBLINFO2CAPTION = 131;
constexpr int IDC_LBLINFO3CAPTION = 132;
constexpr int IDC_LBLINFO1 = 133;
constexpr int IDC_LBLINFO2 = 134;
constexpr int IDC_LBLINFO3 = 135;
constexpr int IDC_HISRECV = 140;
constexpr int IDC_LBLONLINE = 141;
constexpr int IDC_LBLSTATUS = 142;
constexpr int IDC_LBLMAINFORMCAPTION = 143;
constexpr int IDC_LBLHOMEURL = 144;

// Commands of the popup menu SysMenu.
constexpr int IDM_ABOUT1 = 200;
constexpr int IDM_CONTEXT1 = 201;
constexpr int IDM_HOMEPAGE1 = 202;
constexpr int IDM_MAILTOAUTHOR1 = 203;
constexpr int IDM_CHECKNEWVERSION1 = 204;
constexpr int IDM_DIAL1 = 210;
constexpr int IDM_HANGUP1 = 211;
constexpr int IDM_PROPERTY1 = 212;
constexpr int IDM_KEEPCONNECTION1 = 213;
constexpr int IDM_NEW1 = 220;
constexpr int IDM_EDIT1 = 221;
constexpr int IDM_DELETE1 = 222;
constexpr int IDM_SETDEFAULT1 = 223;
constexpr int IDM_SCHEDULE1 = 230;
constexpr int IDM_ACTION1 = 231;
constexpr int IDM_HOTKEY1 = 232;
constexpr int IDM_OPTION1 = 233;
constexpr int IDM_VIEWLOGS1 = 240;
constexpr int IDM_USAGE1 = 242;
constexpr int IDM_REFRESH1 = 241;
constexpr int IDM_EXIT1 = 250;

// Commands of the connection list's popup menu CnListPop.
constexpr int IDM_PROPERTY2 = 260;
constexpr int IDM_NEW2 = 261;
constexpr int IDM_EDIT2 = 262;
constexpr int IDM_DELETE2 = 263;
constexpr int IDM_DEFAULT1 = 264;
constexpr int IDM_KEEPCONNECTION2 = 265;
constexpr int IDM_USAGE2 = 266;

// Commands of the tray icon's popup menu TrayPop.
constexpr int IDM_SHOWHIDEMAINFORM1 = 270;
constexpr int IDM_ABOUT2 = 271;
constexpr int IDM_DIAL3 = 272;
constexpr int IDM_HANGUP3 = 273;
constexpr int IDM_KEEPCONNECTION3 = 274;
constexpr int IDM_SCHEDULE2 = 275;
constexpr int IDM_ACTION2 = 276;
constexpr int IDM_HOTKEY2 = 277;
constexpr int IDM_OPTION3 = 278;
constexpr int IDM_EXIT2 = 279;
constexpr int IDM_USAGE3 = 280;

// The read-outs' popup menu CopyPop.
constexpr int IDM_COPYTOCLIPBOARD1 = 285;

// The help button's popup menu HelpPop.
constexpr int IDM_HELP3 = 290;
constexpr int IDM_HOMEPAGE2 = 291;
constexpr int IDM_SENDEMAILTOAUTHOR1 = 292;
constexpr int IDM_CHECKNEWVERSION2 = 293;
constexpr int IDM_ABOUT3 = 294;

// The message the tray icon sends the main window, with the mouse message in lParam.
constexpr unsigned kTrayNotifyMessage = 0x8000 + 1;  // WM_APP + 1
