// The main window's popup menus.
#include "display/main_menu.h"

#include "commands/command_ids.h"

const std::vector<MenuItemSpec>& SysMenuItems() {
  static const std::vector<MenuItemSpec> kItems = {
      {"&About Tarvolin...", IDM_ABOUT1, {}},
      {"&Help",
       0,
       {{"&Help Topic", IDM_CONTEXT1, {}},
        {nullptr, 0, {}},
        {"Home&page", IDM_HOMEPAGE1, {}},
        {"&Send Comments", IDM_MAILTOAUTHOR1, {}},
        {"&Check For New Version", IDM_CHECKNEWVERSION1, {}}}},
      {nullptr, 0, {}},
      {"&Dial", IDM_DIAL1, {}},
      {"Hang &Up", IDM_HANGUP1, {}},
      {"&Property...", IDM_PROPERTY1, {}},
      {"&Keep Connection", IDM_KEEPCONNECTION1, {}},
      {"&Connection",
       0,
       {{"&New", IDM_NEW1, {}},
        {"&Edit", IDM_EDIT1, {}},
        {"&Delete", IDM_DELETE1, {}},
        {"&Set Default", IDM_SETDEFAULT1, {}}}},
      {nullptr, 0, {}},
      {"&Schedule...", IDM_SCHEDULE1, {}},
      {"Ac&tion...", IDM_ACTION1, {}},
      {"HotK&ey...", IDM_HOTKEY1, {}},
      {"&Option...", IDM_OPTION1, {}},
      {nullptr, 0, {}},
      {"View Logs", IDM_VIEWLOGS1, {}},
      {"Usa&ge...", IDM_USAGE1, {}},
      {"Re&fresh", IDM_REFRESH1, {}},
      {nullptr, 0, {}},
      {"E&xit", IDM_EXIT1, {}},
  };
  return kItems;
}

const std::vector<MenuItemSpec>& CnListPopItems() {
  static const std::vector<MenuItemSpec> kItems = {
      {"&Property...", IDM_PROPERTY2, {}},
      {"&New", IDM_NEW2, {}},
      {"&Edit", IDM_EDIT2, {}},
      {"&Delete", IDM_DELETE2, {}},
      {"&Set Default", IDM_DEFAULT1, {}},
      {"&Keep Connection", IDM_KEEPCONNECTION2, {}},
      {"Usa&ge...", IDM_USAGE2, {}},
  };
  return kItems;
}

const std::vector<MenuItemSpec>& TrayPopItems() {
  static const std::vector<MenuItemSpec> kItems = {
      {"&Hide Mainform", IDM_SHOWHIDEMAINFORM1, {}},
      {"&About Tarvolin...", IDM_ABOUT2, {}},
      {nullptr, 0, {}},
      {"&Dial", IDM_DIAL3, {}},
      {"Hang &Up", IDM_HANGUP3, {}},
      {"&Keep Connection", IDM_KEEPCONNECTION3, {}},
      {nullptr, 0, {}},
      {"S&chedule...", IDM_SCHEDULE2, {}},
      {"Ac&tion...", IDM_ACTION2, {}},
      {"Ho&tKey...", IDM_HOTKEY2, {}},
      {"&Option...", IDM_OPTION3, {}},
      {"Usa&ge...", IDM_USAGE3, {}},
      {nullptr, 0, {}},
      {"E&xit", IDM_EXIT2, {}},
  };
  return kItems;
}

const std::vector<MenuItemSpec>& CopyPopItems() {
  static const std::vector<MenuItemSpec> kItems = {
      {"Copy to clipboard", IDM_COPYTOCLIPBOARD1, {}},
  };
  return kItems;
}

const std::vector<MenuItemSpec>& HelpPopItems() {
  static const std::vector<MenuItemSpec> kItems = {
      {"&Help Topic", IDM_HELP3, {}},
      {nullptr, 0, {}},
      {"Home&page", IDM_HOMEPAGE2, {}},
      {"&Send comments", IDM_SENDEMAILTOAUTHOR1, {}},
      {"&Check New Version", IDM_CHECKNEWVERSION2, {}},
      {nullptr, 0, {}},
      {"&About Tarvolin...", IDM_ABOUT3, {}},
  };
  return kItems;
}
