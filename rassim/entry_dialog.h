// The substitute's own phonebook entry dialog, behind the two entry-dialog entry points.
#pragma once

#include "rassim/rassim.h"

namespace rassim {

// Shows the modal "Phonebook Entry" dialog, owned by `parent` (a window handle, or null).
// Fits EntryDialog: false when the user cancelled, `entry` updated on OK.
bool ShowEntryDialog(void* parent, EntryFields& entry, bool is_new);

}  // namespace rassim
