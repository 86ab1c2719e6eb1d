#include "win32/dialog_template_bytes.h"

#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include <string>

#include "windows/wide_text.h"

namespace calveth {
namespace {

// The predefined classes a template names by atom.
constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;

class TemplateWriter {
 public:
  void word(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void dword(std::uint32_t value) {
    word(static_cast<std::uint16_t>(value));
    word(static_cast<std::uint16_t>(value >> 16));
  }
  void text(const std::wstring& value) {
    for (wchar_t c : value) {
      word(static_cast<std::uint16_t>(c));
    }
    word(0);
  }
  void ordinal(std::uint16_t value) {
    word(0xFFFF);
    word(value);
  }
  void alignToDword() {
    while (bytes_.size() % 4 != 0) {
      bytes_.push_back(0);
    }
  }
  std::vector<std::uint32_t> dwords() {
    alignToDword();
    std::vector<std::uint32_t> out(bytes_.size() / 4);
    for (std::size_t k = 0; k < out.size(); ++k) {
      out[k] = bytes_[4 * k] | (bytes_[4 * k + 1] << 8) | (bytes_[4 * k + 2] << 16) |
               (static_cast<std::uint32_t>(bytes_[4 * k + 3]) << 24);
    }
    return out;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::uint16_t unitsOf(int value) { return static_cast<std::uint16_t>(value); }

}  // namespace

std::uint32_t dialogStyle() {
  return WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
         DS_CENTERMOUSE;
}

std::uint32_t dialogExtendedStyle() {
  return WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_APPWINDOW;
}

Win32ControlStyle win32StyleOf(const ControlTemplate& control) {
  Win32ControlStyle result;
  std::uint32_t style = WS_CHILD;
  style |= control.visible ? WS_VISIBLE : 0;
  style |= control.enabled ? 0 : WS_DISABLED;
  style |= control.tabStop ? WS_TABSTOP : 0;
  result.extendedStyle = control.staticEdge ? WS_EX_STATICEDGE : 0;
  switch (control.kind) {
    case ControlKind::PushButton:
      result.classAtom = kButtonAtom;
      style |= control.defaultFrame ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      result.classAtom = kButtonAtom;
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::PushCheckBox:
      result.classAtom = kButtonAtom;
      style |= BS_AUTOCHECKBOX | BS_PUSHLIKE | (control.flat ? BS_FLAT : 0);
      break;
    case ControlKind::StatusEdit:
      result.classAtom = kEditAtom;
      style |= ES_LEFT | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER;
      break;
    case ControlKind::GroupBox:
      result.classAtom = kButtonAtom;
      style |= BS_GROUPBOX | BS_CENTER;
      break;
    case ControlKind::Slider:
      result.className = TRACKBAR_CLASSW;
      style |= TBS_AUTOTICKS | TBS_NOTICKS | TBS_TOP;
      break;
    case ControlKind::ProgressBar:
      result.className = PROGRESS_CLASSW;
      break;
    case ControlKind::Picture:
      result.classAtom = kStaticAtom;
      style |= SS_BITMAP;
      break;
  }
  result.style = style;
  return result;
}

std::vector<std::uint32_t> buildDialogTemplate() {
  TemplateWriter out;
  constexpr std::size_t count = sizeof kDialogTemplate / sizeof kDialogTemplate[0];
  // DLGTEMPLATE
  out.dword(dialogStyle());
  out.dword(dialogExtendedStyle());
  out.word(static_cast<std::uint16_t>(count));
  out.word(0);
  out.word(0);
  out.word(unitsOf(kDialogWidthUnits));
  out.word(unitsOf(kDialogHeightUnits));
  out.word(0);  // no menu
  out.word(0);  // the dialog class
  out.text(wideFromUtf8(kDialogCaption));
  out.word(static_cast<std::uint16_t>(kDialogFontPoints));
  out.text(wideFromUtf8(kDialogFontFace));
  for (const ControlTemplate& control : kDialogTemplate) {
    const Win32ControlStyle style = win32StyleOf(control);
    // DLGITEMTEMPLATE, each on a DWORD boundary
    out.alignToDword();
    out.dword(style.style);
    out.dword(style.extendedStyle);
    out.word(unitsOf(control.rect.x));
    out.word(unitsOf(control.rect.y));
    out.word(unitsOf(control.rect.width));
    out.word(unitsOf(control.rect.height));
    out.word(static_cast<std::uint16_t>(control.id == 0 ? 0xFFFF : control.id));
    if (style.classAtom != 0) {
      out.ordinal(style.classAtom);
    } else {
      out.text(style.className);
    }
    if (control.kind == ControlKind::Picture) {
      out.ordinal(static_cast<std::uint16_t>(kBannerBitmapId));
    } else {
      out.text(wideFromUtf8(control.caption));
    }
    out.word(0);  // no creation data
  }
  return out.dwords();
}

}  // namespace calveth
