// The main window's popup menu SysMenu, as data: captions with mnemonics and command ids.
#pragma once

#include <vector>

struct MenuItemSpec {
  const char* Caption;              // nullptr: a separator
  int Command;                      // 0 for a separator or a submenu
  std::vector<MenuItemSpec> Items;  // a submenu's items
};

const std::vector<MenuItemSpec>& SysMenuItems();
