#include "win32/desktop_dialog.h"

#include <commctrl.h>

#include <utility>

#include "app/dialog_template.h"
#include "win32/dialog_template_bytes.h"
#include "windows/wide_text.h"

namespace calveth {
namespace {

constexpr LPARAM kAltDown = LPARAM{1} << 29;  // the context code of a key message

constexpr std::pair<unsigned, DialogKey> kNamedKeys[] = {
    {VK_RETURN, DialogKey::Enter}, {VK_ESCAPE, DialogKey::Escape}, {VK_F3, DialogKey::F3},
    {VK_LEFT, DialogKey::Left},    {VK_RIGHT, DialogKey::Right},   {VK_HOME, DialogKey::Home}};

HWND item(HWND dialog, ControlId id) { return GetDlgItem(dialog, static_cast<int>(id)); }

}  // namespace

std::optional<SessionKey> sessionKeyOf(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (!keyDown && message != WM_CHAR && message != WM_SYSCHAR) {
    return std::nullopt;
  }
  SessionKey key;
  key.alt = (message == WM_SYSKEYDOWN || message == WM_SYSCHAR) && (lParam & kAltDown) != 0;
  const auto code = static_cast<unsigned>(wParam);
  if (keyDown && code >= 'A' && code <= 'Z') {
    key.key = DialogKey::Letter;
    key.letter = static_cast<char>('a' + (code - 'A'));
  } else if (!keyDown && ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z'))) {
    key.key = DialogKey::Letter;
    key.letter = static_cast<char>(code | 0x20);
  } else if (keyDown) {
    for (const auto& [virtualKey, named] : kNamedKeys) {
      key.key = code == virtualKey ? named : key.key;
    }
  }
  return key;
}

DesktopDialog::DesktopDialog(MeshStore& store, TonePort& tone) : store_(store), tone_(tone) {}

DesktopDialog::~DesktopDialog() {
  session_.reset();
  viewerWindow_.reset();
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
  if (dialog_ == nullptr) {
    return false;
  }
  const bool inViewer = viewerWindow_ && message.hwnd == viewerWindow_->window();
  if (!inViewer && message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)) {
    return false;  // the keys of the file dialogs and the question box
  }
  const std::optional<SessionKey> key =
      sessionKeyOf(message.message, message.wParam, message.lParam);
  return key && session_->keyDown(key->key, inViewer ? KeySource::Viewer : KeySource::Dialog,
                                  key->letter, key->alt) == KeyAnswer::Taken;
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
  createWarningMark();

  files_ = std::make_unique<FileDialogs>(dialog);
  session_ = std::make_unique<DialogSession>(store_, static_cast<DialogWidgets&>(*this), text_,
                                             PixelLayout::Argb32);
  session_->start();  // "vertex only (for MT)" checked, the start's availability

  const HWND slider = item(dialog, ControlId::ViewAngleSlider);
  SendMessageW(slider, TBM_SETRANGEMIN, FALSE, kSliderMinimum);
  SendMessageW(slider, TBM_SETRANGEMAX, FALSE, kSliderMaximum);
  SendMessageW(slider, TBM_SETPOS, TRUE, kSliderStart);
  return TRUE;  // the focus goes to the first tab stop, "Open Base"
}

// The mark is a small warning icon that takes no focus; its tooltip holds the texts, and a
// click shows them in a box as well.
void DesktopDialog::createWarningMark() {
  const HWND status = item(dialog_, ControlId::StatusLine);
  GetWindowRect(status, &statusPlace_);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&statusPlace_), 2);
  const int side = statusPlace_.bottom - statusPlace_.top;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  warningMark_ = CreateWindowExW(
      0, L"Static", L"Warnings", WS_CHILD | SS_ICON | SS_CENTERIMAGE | SS_NOTIFY,
      statusPlace_.right - side, statusPlace_.top, side, side, dialog_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWarningMarkId)), instance, nullptr);
  const auto icon = static_cast<HICON>(LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  SendMessageW(warningMark_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);

  warningTip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, instance, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = dialog_;
  tool.uId = reinterpret_cast<UINT_PTR>(warningMark_);
  tool.lpszText = warningText_.data();
  SendMessageW(warningTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(warningTip_, TTM_SETMAXTIPWIDTH, 0, 640);  // one line per warning
}

// The status line gives up the mark's room while the mark shows, so the mark never covers
// its text.
void DesktopDialog::layOutStatusLine() {
  const bool marked = IsWindowVisible(warningMark_) != FALSE;
  const int height = statusPlace_.bottom - statusPlace_.top;
  const int width = statusPlace_.right - statusPlace_.left - (marked ? height : 0);
  SetWindowPos(item(dialog_, ControlId::StatusLine), nullptr, statusPlace_.left, statusPlace_.top,
               width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The viewer goes with the dialog, however the dialog ends; so does the program's loop.
void DesktopDialog::end() {
  viewerWindow_.reset();
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

void DesktopDialog::showStatus(std::string_view text) {
  SetWindowTextW(item(dialog_, ControlId::StatusLine), wideFromUtf8(text).c_str());
}

void DesktopDialog::showWarnings(const std::vector<std::string>& warnings) {
  warningText_.clear();
  for (const std::string& text : warnings) {
    warningText_ += (warningText_.empty() ? L"" : L"\r\n") + wideFromUtf8(text);
  }
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = dialog_;
  tool.uId = reinterpret_cast<UINT_PTR>(warningMark_);
  tool.lpszText = warningText_.data();
  SendMessageW(warningTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  ShowWindow(warningMark_, warnings.empty() ? SW_HIDE : SW_SHOWNA);
  layOutStatusLine();
}

void DesktopDialog::setEnabled(ControlId id, bool enabled) {
  EnableWindow(item(dialog_, id), enabled ? TRUE : FALSE);
}

void DesktopDialog::setChecked(ControlId id, bool checked) {
  SendMessageW(item(dialog_, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DesktopDialog::showProgress(int low, int high, int position) {
  const HWND bar = item(dialog_, ControlId::Progress);
  SendMessageW(bar, PBM_SETRANGE32, low, high);
  SendMessageW(bar, PBM_SETPOS, position, 0);
}

// The dialog and its controls (the status line above all) painted now, before the long
// computation that follows keeps the message loop from doing it.
void DesktopDialog::repaintNow() {
  RedrawWindow(dialog_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::optional<std::string> DesktopDialog::chooseOpenFile(const FileChoice& choice,
                                                         const std::string& folder) {
  return files_->chooseOpenFile(choice, folder);
}

std::optional<std::string> DesktopDialog::chooseSaveFile(const FileChoice& choice,
                                                         const std::string& folder) {
  return files_->chooseSaveFile(choice, folder);
}

bool DesktopDialog::askYesNo(std::string_view question) { return files_->askYesNo(question); }

bool DesktopDialog::showViewer(ViewerPlace place) {
  viewerWindow_ =
      std::make_unique<Win32ViewerWindow>(POINT{place.x, place.y}, dialog_, *session_, [this] {
        // Closed by another route than "&G": the session counts it as "&G", at the window's place.
        const POINT place = viewerWindow_->normalOuterTopLeft();
        viewerWindow_.reset();
        session_->viewerClosed({place.x, place.y});
      });
  if (!viewerWindow_->isOpen()) {
    viewerWindow_.reset();
    return false;
  }
  return true;
}

ViewerPlace DesktopDialog::hideViewer() {
  const POINT place = viewerWindow_->normalOuterTopLeft();
  viewerWindow_.reset();
  return {place.x, place.y};
}

void DesktopDialog::showPicture(const ViewerPicture& picture) {
  if (viewerWindow_) {
    viewerWindow_->showPicture(picture);
  }
}

void DesktopDialog::setViewerTitle(std::string_view title) {
  if (viewerWindow_) {
    viewerWindow_->setTitle(title);
  }
}

void DesktopDialog::playTone(int frequencyHz, int durationMs) {
  tone_.sound(frequencyHz, durationMs);
}

void DesktopDialog::endProgram() { end(); }

INT_PTR CALLBACK DesktopDialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DesktopDialog*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return self->initialise(dialog);
  }
  auto* self = reinterpret_cast<DesktopDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr || self->dialog_ != dialog || !self->session_) {
    return FALSE;
  }
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        if (LOWORD(wParam) == kWarningMarkId) {
          self->files_->tell(utf8FromWide(self->warningText_), "Warnings");
        } else {
          self->session_->press(static_cast<ControlId>(LOWORD(wParam)));
        }
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      // Only the slider's out-of-memory notification turns it into the view angle.
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(ControlId::ViewAngleSlider) &&
          header->code == static_cast<UINT>(NM_OUTOFMEMORY)) {
        self->session_->sliderMoved(
            static_cast<int>(SendMessageW(header->hwndFrom, TBM_GETPOS, 0, 0)));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      // The close box and Alt+F4 end the program as "e&Xit" does.
      if (!self->session_->press(ControlId::Exit)) {
        self->end();
      }
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
