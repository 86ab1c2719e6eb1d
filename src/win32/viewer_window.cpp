#include "win32/viewer_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "viewer/viewer_window_size.h"
#include "win32/dialog_template_bytes.h"
#include "windows/gdi_text_painter.h"
#include "windows/wide_text.h"

namespace calveth {
namespace {

constexpr wchar_t kViewerClass[] = L"CalvethWireViewer";
constexpr int kBaseDpi = 96;

void registerClassOnce(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kViewerClass, &existing)) {
    return;
  }
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  description.lpfnWndProc = procedure;
  description.hInstance = instance;
  description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  description.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  description.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  description.lpszClassName = kViewerClass;
  RegisterClassExW(&description);
}

// The window's DPI where the system tells it per window (Windows 10 and later, Wine), 96
// otherwise (the picture is then shown as it is).
int dpiOf(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = dpiForWindow != nullptr ? dpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : kBaseDpi;
}

}  // namespace

Win32ViewerWindow::Win32ViewerWindow(POINT place, HWND owner, DialogSession& session,
                                     std::function<void()> closedBySystem)
    : session_(session), closedBySystem_(std::move(closedBySystem)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  registerClassOnce(instance, procedure);
  // Overlapped, nothing else: a title bar and a border; top-most, with a static edge and a
  // sunken client edge. Shown without activation, so the dialog keeps the keyboard; a click
  // into the window still activates it, and its keys then reach the dialog's loop.
  window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_STATICEDGE | WS_EX_CLIENTEDGE, kViewerClass,
                            L"Wire Flame Viewer", WS_OVERLAPPED, place.x, place.y,
                            kViewerOuterWidth, kViewerOuterHeight, owner, nullptr, instance, this);
  if (window_ == nullptr) {
    return;  // the viewer counts as closed
  }
  pictureDc_ = CreateCompatibleDC(nullptr);
  bitmap_ = topDownDibSection(pictureDc_, kViewerClientWidth, kViewerClientHeight, pixels_);
  if (bitmap_ != nullptr) {
    previous_ = SelectObject(pictureDc_, bitmap_);
    std::memset(pixels_, 0, std::size_t{kViewerClientWidth} * kViewerClientHeight * 4);
  }
  fitToScale();
  ShowWindow(window_, SW_SHOWNOACTIVATE);
}

Win32ViewerWindow::~Win32ViewerWindow() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  if (pictureDc_ != nullptr) {
    SelectObject(pictureDc_, previous_);
    DeleteDC(pictureDc_);
  }
  if (bitmap_ != nullptr) {
    DeleteObject(bitmap_);
  }
}

int Win32ViewerWindow::scalePercent() const { return MulDiv(dpiOf(window_), 100, kBaseDpi); }

// Above 100% the window grows by the scale, its outer corner kept where it is.
void Win32ViewerWindow::fitToScale() {
  const int dpi = dpiOf(window_);
  if (dpi != kBaseDpi) {
    SetWindowPos(window_, nullptr, 0, 0, MulDiv(kViewerOuterWidth, dpi, kBaseDpi),
                 MulDiv(kViewerOuterHeight, dpi, kBaseDpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The pixels are 0xAARRGGBB, which is a 32-bit DIB's blue, green, red memory order.
void Win32ViewerWindow::showPicture(const ViewerPicture& picture) {
  if (pixels_ == nullptr || picture.width != kViewerClientWidth ||
      picture.height != kViewerClientHeight) {
    return;
  }
  std::memcpy(pixels_, picture.pixels, std::size_t{kViewerClientWidth} * kViewerClientHeight * 4);
  GdiFlush();
  // Shown at once: the command that painted may run on for a while before the message loop
  // would get to WM_PAINT.
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void Win32ViewerWindow::setTitle(std::string_view title) {
  if (window_ != nullptr) {
    SetWindowTextW(window_, wideFromUtf8(title).c_str());
  }
}

// The picture from the top-left corner, scaled as a whole by the DPI scale; black beyond it.
void Win32ViewerWindow::paint() {
  PAINTSTRUCT paintInfo{};
  const HDC dc = BeginPaint(window_, &paintInfo);
  RECT client{};
  GetClientRect(window_, &client);
  const int dpi = dpiOf(window_);
  const int width = MulDiv(kViewerClientWidth, dpi, kBaseDpi);
  const int height = MulDiv(kViewerClientHeight, dpi, kBaseDpi);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, width, height, pictureDc_, 0, 0, kViewerClientWidth, kViewerClientHeight,
             SRCCOPY);
  PatBlt(dc, width, 0, std::max(0L, client.right - width), client.bottom, BLACKNESS);
  PatBlt(dc, 0, height, width, std::max(0L, client.bottom - height), BLACKNESS);
  EndPaint(window_, &paintInfo);
}

POINT Win32ViewerWindow::normalOuterTopLeft() const {
  RECT outer{};
  if (IsIconic(window_) || IsZoomed(window_)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    outer = placement.rcNormalPosition;
  } else {
    GetWindowRect(window_, &outer);
  }
  return POINT{outer.left, outer.top};
}

// The session's entries, those it cannot take now greyed; the chosen one goes to the session.
void Win32ViewerWindow::showMenu(POINT screen) {
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) {
    return;
  }
  for (const ViewerMenuItem& item : session_.viewerMenu()) {
    AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(item.entry) + 1, wideFromUtf8(item.caption).c_str());
  }
  const int chosen =
      static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                      screen.x, screen.y, 0, window_, nullptr));
  DestroyMenu(menu);
  if (chosen > 0) {
    session_.chooseFromViewerMenu(static_cast<ViewerMenuEntry>(chosen - 1));
  }
}

LRESULT CALLBACK Win32ViewerWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32ViewerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT:
      self->paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture and the black beyond it cover the whole drawing area
    case WM_DPICHANGED: {
      // Moved to a screen of another scale: the size the system suggests, the same picture.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_CONTEXTMENU: {
      // From the keyboard (Shift+F10, the menu key) the place is (-1, -1): the window's middle.
      POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (screen.x == -1 && screen.y == -1) {
        RECT client{};
        GetClientRect(window, &client);
        screen = {client.right / 2, client.bottom / 2};
        ClientToScreen(window, &screen);
      }
      self->showMenu(screen);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetCapture(window);
      self->dragX_ = static_cast<short>(LOWORD(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if ((wParam & MK_LBUTTON) != 0 && GetCapture() == window) {
        const int x = static_cast<short>(LOWORD(lParam));
        self->session_.viewerDragged(x - self->dragX_);
        self->dragX_ = x;
      }
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      return 0;
    case WM_CLOSE:
      // The owner closes the window as "&G" would, which destroys this object: nothing of it
      // may be used after the call.
      if (const std::function<void()> closed = self->closedBySystem_) {
        closed();
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace calveth
