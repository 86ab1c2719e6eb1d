#include "win32/desktop_dialog.h"

#include <commctrl.h>

#include <vector>

#include "app/dialog_template.h"
#include "viewer/view_angle.h"
#include "win32/dialog_template_bytes.h"

namespace calveth {

// The commands' viewer: the wire-frame viewer, which paints into the open window's picture.
class DesktopDialog::ShowingViewer final : public ViewerPort {
 public:
  explicit ShowingViewer(WireViewer& viewer) : viewer_(viewer) {}
  void refresh(const ViewerInput& input) override { viewer_.refresh(input); }

 private:
  WireViewer& viewer_;
};

KeyVerdict keyVerdict(UINT message, WPARAM virtualKey) {
  if (message != WM_KEYDOWN) {
    return KeyVerdict::passOn;
  }
  switch (virtualKey) {
    case VK_RETURN:
    case VK_ESCAPE:
      return KeyVerdict::toneAndSwallow;
    case VK_F3:
      return KeyVerdict::closeAndPassOn;
    default:
      return KeyVerdict::passOn;
  }
}

DesktopDialog::DesktopDialog(MeshStore& store, TonePort& tone)
    : store_(store),
      tone_(tone),
      wireViewer_(store),
      showingViewer_(std::make_unique<ShowingViewer>(wireViewer_)) {}

DesktopDialog::~DesktopDialog() {
  closeViewer();
  if (dialog_ != nullptr) {
    DestroyWindow(dialog_);
  }
  for (HICON icon : {largeIcon_, smallIcon_}) {
    if (icon != nullptr) {
      DestroyIcon(icon);
    }
  }
}

bool DesktopDialog::create() {
  const std::vector<std::uint32_t> layout = buildDialogTemplate();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Modal to no window: the dialog runs the program's own loop, and the viewer beside it can
  // still be moved meanwhile.
  return CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(layout.data()),
                                    nullptr, procedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool DesktopDialog::filterKey(const MSG& message) {
  if (dialog_ == nullptr || (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd))) {
    return false;  // the viewer's keys, and those of the file dialogs and the question box
  }
  switch (keyVerdict(message.message, message.wParam)) {
    case KeyVerdict::toneAndSwallow:
      tone_.sound(kRefusedKeyToneHz, kRefusedKeyToneMs);
      return true;
    case KeyVerdict::closeAndPassOn:
      PostMessageW(dialog_, WM_CLOSE, 0, 0);
      return false;
    case KeyVerdict::passOn:
      return false;
  }
  return false;
}

void DesktopDialog::run() {
  MSG message{};
  while (dialog_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (filterKey(message)) {
      continue;
    }
    if (dialog_ == nullptr || !IsDialogMessageW(dialog_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

BOOL DesktopDialog::initialise(HWND dialog) {
  dialog_ = dialog;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  largeIcon_ =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

  host_ = std::make_unique<Win32DialogHost>(dialog);
  router_ = std::make_unique<CommandRouter>(store_, *host_, *showingViewer_);
  router_->start();  // "vertex only (for MT)" checked, the start's availability

  const HWND slider = GetDlgItem(dialog, static_cast<int>(ControlId::ViewAngleSlider));
  SendMessageW(slider, TBM_SETRANGEMIN, FALSE, kSliderMinimum);
  SendMessageW(slider, TBM_SETRANGEMAX, FALSE, kSliderMaximum);
  SendMessageW(slider, TBM_SETPOS, TRUE, kSliderStart);
  return TRUE;  // the focus goes to the first tab stop, "Open Base"
}

void DesktopDialog::command(int id) {
  switch (static_cast<ControlId>(id)) {
    case ControlId::Exit:
      end();
      return;
    case ControlId::Viewer:
      toggleViewer();
      return;
    default:
      router_->press(static_cast<ControlId>(id));
  }
}

void DesktopDialog::toggleViewer() {
  if (viewerWindow_) {
    viewerPlace_ = viewerWindow_->normalOuterTopLeft();
    closeViewer();
    return;
  }
  viewerWindow_ = std::make_unique<Win32ViewerWindow>(wireViewer_, viewerPlace_, [this] {
    // Closed by another route than "&G": remembered and shown released as if by "&G", so the
    // button and the window stay in step.
    viewerPlace_ = viewerWindow_->normalOuterTopLeft();
    closeViewer();
    CheckDlgButton(dialog_, static_cast<int>(ControlId::Viewer), BST_UNCHECKED);
  });
  if (!viewerWindow_->isOpen()) {
    viewerWindow_.reset();
    CheckDlgButton(dialog_, static_cast<int>(ControlId::Viewer), BST_UNCHECKED);
  }
}

void DesktopDialog::closeViewer() { viewerWindow_.reset(); }

// The viewer goes with the dialog, however the dialog ends; so does the program's loop.
void DesktopDialog::end() {
  closeViewer();
  if (dialog_ != nullptr) {
    const HWND dialog = dialog_;
    dialog_ = nullptr;
    DestroyWindow(dialog);
  }
  PostQuitMessage(0);
}

// Minimised, the dialog shows the program's icon centred in its client area.
bool DesktopDialog::paintMinimised() {
  if (!IsIconic(dialog_)) {
    return false;
  }
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(dialog_, &paint);
  SendMessageW(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(dialog_, &client);
  const int width = GetSystemMetrics(SM_CXICON);
  const int height = GetSystemMetrics(SM_CYICON);
  DrawIcon(dc, (client.right - width + 1) / 2, (client.bottom - height + 1) / 2, largeIcon_);
  EndPaint(dialog_, &paint);
  return true;
}

INT_PTR CALLBACK DesktopDialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DesktopDialog*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return self->initialise(dialog);
  }
  auto* self = reinterpret_cast<DesktopDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr || self->dialog_ != dialog) {
    return FALSE;
  }
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        self->command(LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      // Only the slider's out-of-memory notification turns it into the view angle.
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(ControlId::ViewAngleSlider) &&
          header->code == static_cast<UINT>(NM_OUTOFMEMORY)) {
        const int position = static_cast<int>(SendMessageW(header->hwndFrom, TBM_GETPOS, 0, 0));
        UpdateViewAngle(self->store_, position);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      self->end();
      return TRUE;
    case WM_PAINT:
      return self->paintMinimised() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(self->largeIcon_);
    default:
      return FALSE;
  }
}

}  // namespace calveth
