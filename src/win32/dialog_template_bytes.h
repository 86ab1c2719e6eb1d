// The main dialog as a Win32 dialog template in memory, built at run time from the
// toolkit-free kDialogTemplate: the same ids, captions with their & mnemonics, dialog-unit
// rectangles, kinds, initial states and tab order as every front end, "Arial" 8 pt.
#pragma once

#include <cstdint>
#include <vector>

#include "app/dialog_template.h"

namespace calveth {

// The banner's bitmap resource, shown by the picture control.
inline constexpr int kBannerBitmapId = 131;
// The program's icon resource.
inline constexpr int kIconId = 128;

// The Win32 window styles of one control of the template (WS_*, BS_*, ES_*, ...) and its
// extended styles, and its window class as the template names it (a predefined class atom,
// or 0 with `className` set).
struct Win32ControlStyle {
  std::uint32_t style = 0;
  std::uint32_t extendedStyle = 0;
  std::uint16_t classAtom = 0;
  const wchar_t* className = nullptr;
};

Win32ControlStyle win32StyleOf(const ControlTemplate& control);

// The dialog's own styles: pop-up, caption, system menu, modal frame, own font, centred on
// the mouse pointer, visible; a tool window with a sunken client edge and a task bar button.
std::uint32_t dialogStyle();
std::uint32_t dialogExtendedStyle();

// The whole template, DWORD-aligned, for CreateDialogIndirectParamW.
std::vector<std::uint32_t> buildDialogTemplate();

}  // namespace calveth
