// The connection list CnList: its columns, its marks, and what its notifications mean.
// Handles are the system's window handles, kept opaque here.
#pragma once

#include <string>
#include <vector>

#include "app/main_view.h"

// Creates the list as a child of `parent`, with its two columns and the image list
// CnImgList; the images are freed with the list.
void* CreateConnectionList(void* parent, int id, void* font);
void FillConnectionItems(void* list, const std::vector<ConnectionRow>& rows);
// Shows the selection mark on the item at `index` only.
void MarkConnectionItem(void* list, int index);

// For a notification of the list: the caption of an item the user just highlighted,
// or "" when the notification says something else.
std::string NewlyHighlightedCaption(const void* notification);
// Whether the notification is a double click while an item is highlighted.
bool IsDoubleClickOnItem(const void* notification);
