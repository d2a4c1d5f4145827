// The main window's popup menus, as data: captions with mnemonics and command ids.
#pragma once

#include <vector>

struct MenuItemSpec {
  const char* Caption;              // nullptr: a separator
  int Command;                      // 0 for a separator or a submenu
  std::vector<MenuItemSpec> Items;  // a submenu's items
};

const std::vector<MenuItemSpec>& SysMenuItems();
// The connection list's popup menu CnListPop.
const std::vector<MenuItemSpec>& CnListPopItems();
// The tray icon's popup menu TrayPop; its first item's caption is the one at start, the
// tray's ShowHideCaption afterwards.
const std::vector<MenuItemSpec>& TrayPopItems();
// The read-outs' popup menu CopyPop.
const std::vector<MenuItemSpec>& CopyPopItems();
// The help button's popup menu HelpPop.
const std::vector<MenuItemSpec>& HelpPopItems();
