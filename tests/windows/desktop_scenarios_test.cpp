// The scenario table (tests/scenarios/dialog_runs.txt) run against the real Win32 dialog:
// its buttons clicked (BN_CLICKED through BM_CLICK), the system's file dialogs and question
// box answered as they open, its keys taken by the dialog's own filter, its viewer window
// moved and closed by the window system. Each check compares what the windows show.
// windows.h first: the other system headers need its types.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <wincodec.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/scenario_table.h"
#include "support/temp_dir.h"
#include "win32/desktop_dialog.h"
#include "windows/wide_text.h"

namespace calveth::testing {
namespace {

// The ids of the common dialogs' controls: the file name box of the explorer-style dialog.
constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
// How long a modal window may stay unanswered before the driver gives up on it.
constexpr int kAnswerTicks = 15000 / 50;

class SilentTone final : public TonePort {
 public:
  void sound(int, int) override {}
};

// The table's files as the file dialog takes them: Wine's drive Z: is the Linux root.
std::string windowsPath(std::string path) {
  if (path.starts_with("/")) {
    path = "Z:" + path;
  }
  for (char& c : path) {
    c = c == '/' ? '\\' : c;
  }
  return path;
}

std::string tableFile(const std::string& name) {
  const std::string scenario = std::string(CALVETH_SCENARIO_DIR) + "/files/" + name;
  return windowsPath(
      std::ifstream(scenario).good() ? scenario : std::string(CALVETH_SAMPLES_DIR) + "/" + name);
}

// What the next modal window of the dialog gets: a file name, a cancel, or Yes / No.
struct Answer {
  enum Kind { File, Cancel, Yes, No } kind;
  std::string path;
};

// Answers the modal windows of this thread as they open, from a thread timer that their
// own message loops dispatch. A window that nobody expects, or that is not taken within
// kAnswerTicks, is cancelled and reported.
class ModalAnswers {
 public:
  ModalAnswers() {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, tick);
  }
  ~ModalAnswers() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  void expect(Answer answer) { queue_.push_back(std::move(answer)); }
  // What went wrong since the last call: answers left over, windows nobody expected.
  std::string problems() {
    std::string found = problems_;
    if (!queue_.empty()) {
      found += std::to_string(queue_.size()) + " expected window(s) never opened; ";
    }
    queue_.clear();
    problems_.clear();
    return found;
  }
  void setDialog(HWND dialog) { dialog_ = dialog; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ != nullptr) {
      current_->answerOpenWindow();
    }
  }

  static BOOL CALLBACK collect(HWND window, LPARAM list) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && std::wstring(name) == L"#32770") {
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
  }

  void answerOpenWindow() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      if (window == dialog_ || (window == answered_ && IsWindow(answered_))) {
        continue;
      }
      const bool question = GetDlgItem(window, IDYES) != nullptr;
      const bool files = GetDlgItem(window, kFileNameCombo) != nullptr ||
                         GetDlgItem(window, kFileNameEdit) != nullptr;
      const bool fits = !queue_.empty() && (question ? queue_.front().kind >= Answer::Yes
                                                     : queue_.front().kind <= Answer::Cancel);
      if (!fits && ++waited_ < kAnswerTicks) {
        continue;  // a window not yet expected may be the one before the expected one
      }
      waited_ = 0;
      answered_ = window;
      if (!fits || (!question && !files)) {
        wchar_t title[128] = {};
        GetWindowTextW(window, title, 128);
        problems_ += "an unexpected window \"" + utf8FromWide(title) + "\" was cancelled; ";
        PostMessageW(window, WM_COMMAND, question ? IDNO : IDCANCEL, 0);
        continue;
      }
      const Answer answer = queue_.front();
      queue_.pop_front();
      if (answer.kind == Answer::File) {
        const int box = GetDlgItem(window, kFileNameCombo) ? kFileNameCombo : kFileNameEdit;
        SetDlgItemTextW(window, box, wideFromUtf8(answer.path).c_str());
      }
      const int button = answer.kind == Answer::File     ? IDOK
                         : answer.kind == Answer::Cancel ? IDCANCEL
                         : answer.kind == Answer::Yes    ? IDYES
                                                         : IDNO;
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
    }
  }

  static inline ModalAnswers* current_ = nullptr;
  UINT_PTR timer_ = 0;
  HWND dialog_ = nullptr;
  HWND answered_ = nullptr;
  int waited_ = 0;
  std::deque<Answer> queue_;
  std::string problems_;
};

std::wstring textOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

// A PNG file's pixels as 0x00RRGGBB, decoded by the system's decoder.
bool decodePng(const std::string& path, std::vector<std::uint32_t>& pixels, UINT& width,
               UINT& height) {
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  bool decoded = false;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(wideFromUtf8(path).c_str(), nullptr,
                                                   GENERIC_READ, WICDecodeMetadataCacheOnLoad,
                                                   &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&width, &height))) {
    pixels.assign(std::size_t{width} * height, 0);
    decoded = SUCCEEDED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                              reinterpret_cast<BYTE*>(pixels.data())));
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{converter, frame, decoder, factory}) {
    if (object != nullptr) {
      object->Release();
    }
  }
  return decoded;
}

// The viewer's client area as it shows on the screen, 0x00RRGGBB, `width` x `height`.
std::vector<std::uint32_t> shownPixels(HWND viewer, int width, int height) {
  UpdateWindow(viewer);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC screen = GetDC(viewer);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + width * height);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(viewer, screen);
  return pixels;
}

class ScenarioRun {
 public:
  bool start() {
    if (!dialog_->create()) {
      return false;
    }
    answers_.setDialog(dialog_->window());
    ShowWindow(dialog_->window(), SW_SHOW);
    return true;
  }

  HWND item(ControlId id) const { return GetDlgItem(dialog_->window(), static_cast<int>(id)); }

  void step(const ScenarioStep& step) {
    const std::string& verb = step.action;
    const auto named = step.words.empty() ? std::nullopt : scenarioControl(step.words[0]);
    if (verb == "open" || verb == "cancel" || verb == "press") {
      ASSERT_TRUE(named) << "no control named in the step";
    }
    const ControlId* control = named ? &*named : nullptr;
    if (verb == "open") {
      const std::string path = tableFile(step.words.at(1));
      answers_.expect({Answer::File, path});
      if (question_) {
        answers_.expect({*question_ ? Answer::Yes : Answer::No, ""});
        question_.reset();
      }
      click(*control);
      // A refused file leaves the one before loaded: an "ERR:" text tells it.
      if (!textOf(item(ControlId::StatusLine)).starts_with(L"ERR")) {
        (*control == ControlId::OpenBase ? base_ : mt_) = path;
      }
    } else if (verb == "cancel") {
      answers_.expect({Answer::Cancel, ""});
      click(*control);
    } else if (verb == "press") {
      click(*control);
    } else if (verb == "answer") {
      question_ = step.words.at(0) == "yes";
    } else if (verb == "save") {
      saved_ = dir_.file(step.words.at(0));
      answers_.expect({Answer::File, saved_});
      click(ControlId::SaveMt);
    } else if (verb == "key") {
      key(step.words.at(0));
    } else if (verb == "viewer-move") {
      ASSERT_NE(dialog_->viewerWindow(), nullptr) << "no viewer to move";
      SetWindowPos(dialog_->viewerWindow(), nullptr, std::stoi(step.words.at(0)),
                   std::stoi(step.words.at(1)), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (verb == "viewer-close") {
      ASSERT_NE(dialog_->viewerWindow(), nullptr) << "no viewer to close";
      SendMessageW(dialog_->viewerWindow(), WM_CLOSE, 0, 0);
    } else {
      FAIL() << "unknown step " << verb;
    }
    const std::string problems = answers_.problems();
    EXPECT_EQ(problems, "") << "the modal windows of the step";
  }

  // What the windows show for the check, to compare with the table's value.
  std::string shown(const ScenarioCheck& check) {
    const std::string& what = check.what;
    if (what == "not") {
      return check.value;  // another front end's: nothing to compare
    }
    if (what == "ended") {
      return dialog_->window() == nullptr ? "" : "the dialog still open";
    }
    if (dialog_->window() == nullptr) {
      return "the dialog has ended";
    }
    if (what == "status") {
      return utf8FromWide(textOf(item(ControlId::StatusLine)));
    }
    if (what == "enabled") {
      return controlNames([&](ControlId c) { return IsWindowEnabled(item(c)) != FALSE; });
    }
    if (what == "checked") {
      return controlNames(
          [&](ControlId c) { return SendMessageW(item(c), BM_GETCHECK, 0, 0) == BST_CHECKED; },
          true);
    }
    if (what == "warnings") {
      return std::to_string(warningLines());
    }
    if (what == "viewer") {
      const HWND viewer = dialog_->viewerWindow();
      RECT outer{};
      if (viewer == nullptr || !GetWindowRect(viewer, &outer)) {
        return "closed";
      }
      return "open " + std::to_string(outer.left) + " " + std::to_string(outer.top);
    }
    if (what == "saved") {
      const std::vector<std::string> words = wordsOf(check.value);
      const std::string expected = dir_.file("cli-" + std::to_string(check.line) + ".obj");
      std::vector<std::string> arguments{words.at(0), "--base", base_, "--mt", mt_, "-o", expected};
      if (words.size() > 1 && words[1] == "faces") {
        arguments.push_back("--with-faces");
      }
      runCliProgram(arguments);
      return withoutPathLine(readFile(saved_)) == withoutPathLine(readFile(expected))
                 ? check.value
                 : "a file that differs from calveth-cli's";
    }
    if (what == "picture") {
      return std::to_string(differingPixels(check.value)) + " pixels differ";
    }
    return "an unknown check";
  }

  static std::string expected(const ScenarioCheck& check) {
    if (check.what == "enabled" || check.what == "checked") {
      return orderedNames(check.value);
    }
    if (check.what == "picture") {
      return "0 pixels differ";
    }
    return check.what == "ended" ? "" : check.value;
  }

  ~ScenarioRun() {
    dialog_.reset();
    MSG quit{};
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // F3's or e&Xit's
  }

 private:
  void click(ControlId id) { SendMessageW(item(id), BM_CLICK, 0, 0); }

  // A key as the dialog's loop hands it on: to the session's filter first, then to the
  // dialog manager, as DesktopDialog::run() does.
  void key(const std::string& name) {
    constexpr LPARAM kAlt = LPARAM{1} << 29;
    MSG message{item(ControlId::OpenBase), WM_KEYDOWN, 0, 0, 0, {}};
    if (name == "Enter" || name == "Esc" || name == "F3") {
      message.wParam = name == "Enter" ? VK_RETURN : name == "Esc" ? VK_ESCAPE : VK_F3;
    } else if (name.starts_with("Alt+")) {
      message.message = WM_SYSKEYDOWN;
      message.wParam = static_cast<WPARAM>(name[4] & ~0x20);
      message.lParam = kAlt;
    } else {
      message.wParam = static_cast<WPARAM>(name[0] & ~0x20);
    }
    if (!dialog_->filterKey(message) && dialog_->window() != nullptr &&
        !IsDialogMessageW(dialog_->window(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  int warningLines() {
    if (!IsWindowVisible(dialog_->warningMark())) {
      return 0;
    }
    wchar_t text[4096] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog_->window();
    tool.uId = reinterpret_cast<UINT_PTR>(dialog_->warningMark());
    tool.lpszText = text;
    SendMessageW(dialog_->warningTip(), TTM_GETTEXTW, 4096, reinterpret_cast<LPARAM>(&tool));
    const std::wstring lines = text;
    int count = lines.empty() ? 0 : 1;
    for (std::size_t at = lines.find(L"\r\n"); at != std::wstring::npos;
         at = lines.find(L"\r\n", at + 2)) {
      ++count;
    }
    return count;
  }

  // The viewer's pixels on the screen against calveth-cli render's PNG, away from the text
  // rows: the "Y-axis" box at the top and the legend at the bottom.
  int differingPixels(const std::string& what) {
    const std::string png = dir_.file("render.png");
    std::vector<std::string> arguments{"render", base_, "-o", png};
    if (what != "base") {
      arguments.insert(arguments.end(), {"--mt", mt_, "--op", what});
    }
    runCliProgram(arguments);
    std::vector<std::uint32_t> rendered;
    UINT width = 0;
    UINT height = 0;
    if (dialog_->viewerWindow() == nullptr || !decodePng(png, rendered, width, height)) {
      return -1;
    }
    const std::vector<std::uint32_t> shown =
        shownPixels(dialog_->viewerWindow(), static_cast<int>(width), static_cast<int>(height));
    int differing = 0;
    for (std::size_t y = 14; y < 380 && y < height; ++y) {
      for (std::size_t x = 0; x < width; ++x) {
        differing +=
            (shown[y * width + x] & 0xffffffu) == (rendered[y * width + x] & 0xffffffu) ? 0 : 1;
      }
    }
    return differing;
  }

  SilentTone tone_;
  std::unique_ptr<MeshStore> store_ = std::make_unique<MeshStore>();
  std::unique_ptr<DesktopDialog> dialog_ = std::make_unique<DesktopDialog>(*store_, tone_);
  ModalAnswers answers_;
  TempDir dir_;
  std::optional<bool> question_;
  std::string base_;
  std::string mt_;
  std::string saved_;
};

TEST(DesktopScenarios, EveryScenarioOfTheTableOnTheWin32Dialog) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::vector<Scenario> scenarios =
      readScenarios(std::string(CALVETH_SCENARIO_DIR) + "/dialog_runs.txt");
  ASSERT_GE(scenarios.size(), 8u);
  for (const Scenario& scenario : scenarios) {
    ScenarioRun run;
    if (!run.start()) {
      if (std::getenv("CI") != nullptr) {
        FAIL() << "the dialog could not be created (no display?)";
      }
      GTEST_SKIP() << "the dialog cannot be created here: no display";
    }
    for (const ScenarioStep& step : scenario.steps) {
      const std::string where = scenario.name + ", line " + std::to_string(step.line);
      if (step.skippedOn("win32")) {
        continue;
      }
      SCOPED_TRACE(where + ": " + step.action);
      run.step(step);
      ASSERT_FALSE(::testing::Test::HasFatalFailure());
      for (const ScenarioCheck& check : step.checks) {
        ASSERT_EQ(run.shown(check), ScenarioRun::expected(check))
            << where << ", check at line " << check.line << " (" << check.what << ")";
      }
    }
  }
}

}  // namespace
}  // namespace calveth::testing
