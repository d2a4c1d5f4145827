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
