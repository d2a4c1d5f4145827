// Painting the main window's skin: the one bitmap of frame, title strip, panels and
// title buttons, and the flat speed and view buttons drawn over it.
#pragma once

#include <windows.h>

#include "display/skin.h"

// A 32-bit bitmap of the whole skin at `dpi` (kSkinWidth x kSkinHeight logical pixels).
HBITMAP CreateSkinBitmap(int dpi);

struct ButtonLook {
  bool Hot = false;       // the mouse is over it
  bool Down = false;      // pressed, or a toggle that is on
  bool Disabled = false;  // its command cannot run
  bool Focused = false;   // has the keyboard focus and focus is being shown
  bool Prefix = false;    // show the mnemonic's underline
};
// Draws a speed button (glyph over caption) or a view button (glyph only) in `rect`.
void DrawSkinButton(HDC dc, const RECT& rect, const SkinButton& button, const ButtonLook& look,
                    HFONT font, int dpi);
