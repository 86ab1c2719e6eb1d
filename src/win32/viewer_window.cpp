#include "win32/viewer_window.h"

#include <utility>

#include "viewer/viewer_window_size.h"

namespace calveth {
namespace {

constexpr wchar_t kViewerClass[] = L"CalvethWireViewer";
constexpr wchar_t kViewerTitle[] = L"Wire Flame Viewer";

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
  description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  description.lpszClassName = kViewerClass;
  RegisterClassExW(&description);
}

}  // namespace

Win32ViewerWindow::Win32ViewerWindow(WireViewer& viewer, POINT place,
                                     std::function<void()> closedBySystem)
    : viewer_(viewer), closedBySystem_(std::move(closedBySystem)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  registerClassOnce(instance, procedure);
  // Overlapped and visible, nothing else: a title bar and a border; top-most, with a static
  // edge and a sunken client edge.
  window_ =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_STATICEDGE | WS_EX_CLIENTEDGE, kViewerClass,
                      kViewerTitle, WS_OVERLAPPED | WS_VISIBLE, place.x, place.y, kViewerOuterWidth,
                      kViewerOuterHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    return;  // the viewer counts as closed
  }
  RECT client{};
  GetClientRect(window_, &client);
  picture_ = std::make_unique<DibPicture>(client.right, client.bottom, GetSysColor(COLOR_WINDOW));
  const int dpi = GetDeviceCaps(picture_->dc(), LOGPIXELSY);
  canvas_ = std::make_unique<GdiCanvas>(picture_->dc(), ClientSize{client.right, client.bottom},
                                        dpi, [this] { showPicture(); });
  viewer_.open(*canvas_);
}

Win32ViewerWindow::~Win32ViewerWindow() {
  viewer_.close();
  if (window_ != nullptr) {
    const HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
  }
}

// Shown at once: the command that painted may run on for a while before the message loop
// would get to WM_PAINT.
void Win32ViewerWindow::showPicture() {
  if (window_ != nullptr) {
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
  }
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
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      const HDC dc = BeginPaint(window, &paint);
      if (self->picture_ && self->picture_->valid()) {
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               self->picture_->dc(), area.left, area.top, SRCCOPY);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole drawing area
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
