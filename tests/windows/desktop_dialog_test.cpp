// The Windows dialog's wiring: every control of the template created with its id, class,
// caption, rectangle, visibility and starting availability; the key messages as the session
// sees them and what the dialog then lets through; "&G", the viewer's keys and a close by the
// system; the warning mark; the file dialogs' filter lists and starting folder.
// The dialog is a real Win32 dialog, so these tests need a display (make test-windows runs
// them on a virtual one).
#include "win32/desktop_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/dialog_template.h"
#include "win32/file_dialogs.h"
#include "windows/wide_text.h"

namespace calveth {
namespace {

class RecordingTone final : public TonePort {
 public:
  void sound(int frequencyHz, int durationMs) override {
    tones.emplace_back(frequencyHz, durationMs);
  }
  std::vector<std::pair<int, int>> tones;
};

std::wstring textOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring classOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// A dialog over a fresh store, or a skip (a failure in CI) where no display is there.
class DesktopDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = std::make_unique<MeshStore>();
    dialog_ = std::make_unique<DesktopDialog>(*store_, tone_);
    if (!dialog_->create()) {
      if (std::getenv("CI") != nullptr) {
        FAIL() << "the dialog could not be created (no display?)";
      }
      GTEST_SKIP() << "the dialog cannot be created here: no display";
    }
  }

  HWND item(ControlId id) const { return GetDlgItem(dialog_->window(), static_cast<int>(id)); }

  RecordingTone tone_;
  std::unique_ptr<MeshStore> store_;
  std::unique_ptr<DesktopDialog> dialog_;
};

const wchar_t* expectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::StatusEdit:
      return L"Edit";
    case ControlKind::Slider:
      return TRACKBAR_CLASSW;
    case ControlKind::ProgressBar:
      return PROGRESS_CLASSW;
    case ControlKind::Picture:
      return L"Static";
    default:
      return L"Button";
  }
}

// The controls "Open Base", "&Open MT", "e&Xit", "&G", the status line, the slider and the
// progress bar start enabled; everything else waits for its command's data.
bool enabledAtStart(int id) {
  for (ControlId usable :
       {ControlId::OpenBase, ControlId::OpenMt, ControlId::Exit, ControlId::Viewer,
        ControlId::StatusLine, ControlId::ViewAngleSlider, ControlId::Progress}) {
    if (id == static_cast<int>(usable)) {
      return true;
    }
  }
  return false;
}

TEST_F(DesktopDialogTest, EveryControlOfTheTemplateIsThereAsTheTemplateSays) {
  for (const ControlTemplate& control : kDialogTemplate) {
    if (control.id == 0) {
      continue;
    }
    SCOPED_TRACE(std::string(control.caption) + " (" + std::to_string(control.id) + ")");
    const HWND window = GetDlgItem(dialog_->window(), control.id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(classOf(window), expectedClass(control.kind));
    if (control.kind != ControlKind::StatusEdit && control.kind != ControlKind::Slider &&
        control.kind != ControlKind::ProgressBar) {
      EXPECT_EQ(textOf(window), wideFromUtf8(control.caption));
    }
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ((style & WS_VISIBLE) != 0, control.visible);
    EXPECT_EQ((style & WS_TABSTOP) != 0, control.tabStop);
    EXPECT_EQ(IsWindowEnabled(window) != 0, enabledAtStart(control.id));
    // Position and size are converted each on its own, as the dialog manager does.
    RECT place{control.rect.x, control.rect.y, control.rect.width, control.rect.height};
    MapDialogRect(dialog_->window(), &place);
    RECT actual{};
    GetWindowRect(window, &actual);
    MapWindowPoints(nullptr, dialog_->window(), reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, place.left);
    EXPECT_EQ(actual.top, place.top);
    if (control.kind != ControlKind::Picture) {  // a bitmap picture takes its bitmap's size
      EXPECT_EQ(actual.right - actual.left, place.right);
      EXPECT_EQ(actual.bottom - actual.top, place.bottom);
    }
  }
  EXPECT_EQ(textOf(dialog_->window()), wideFromUtf8(kDialogCaption));
}

TEST_F(DesktopDialogTest, StartsWithVertexOnlyCheckedAndTheSliderInTheMiddle) {
  EXPECT_EQ(IsDlgButtonChecked(dialog_->window(), static_cast<int>(ControlId::VertexOnly)),
            BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_->window(), static_cast<int>(ControlId::Viewer)),
            BST_UNCHECKED);
  const HWND slider = item(ControlId::ViewAngleSlider);
  EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), kSliderMinimum);
  EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), kSliderMaximum);
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), kSliderStart);
  EXPECT_EQ(textOf(item(ControlId::StatusLine)), L"");
}

struct KeyRow {
  const char* name;
  UINT message;
  WPARAM key;
  LPARAM flags;
  DialogKey expected;
  char letter;
  bool alt;
};

class SessionKeys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(SessionKeys, AreTheMessagesAsTheSessionSeesThem) {
  const KeyRow& row = GetParam();
  const std::optional<SessionKey> key = sessionKeyOf(row.message, row.key, row.flags);
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->key, row.expected);
  EXPECT_EQ(key->letter, row.letter);
  EXPECT_EQ(key->alt, row.alt);
}

constexpr LPARAM kAlt = LPARAM{1} << 29;

INSTANTIATE_TEST_SUITE_P(
    Keys, SessionKeys,
    ::testing::Values(KeyRow{"enter", WM_KEYDOWN, VK_RETURN, 0, DialogKey::Enter, 0, false},
                      KeyRow{"escape", WM_KEYDOWN, VK_ESCAPE, 0, DialogKey::Escape, 0, false},
                      KeyRow{"f3", WM_KEYDOWN, VK_F3, 0, DialogKey::F3, 0, false},
                      KeyRow{"tab", WM_KEYDOWN, VK_TAB, 0, DialogKey::Other, 0, false},
                      KeyRow{"space", WM_KEYDOWN, VK_SPACE, 0, DialogKey::Other, 0, false},
                      KeyRow{"left", WM_KEYDOWN, VK_LEFT, 0, DialogKey::Left, 0, false},
                      KeyRow{"right", WM_KEYDOWN, VK_RIGHT, 0, DialogKey::Right, 0, false},
                      KeyRow{"home", WM_KEYDOWN, VK_HOME, 0, DialogKey::Home, 0, false},
                      KeyRow{"plain_x", WM_KEYDOWN, 'X', 0, DialogKey::Letter, 'x', false},
                      KeyRow{"alt_x", WM_SYSKEYDOWN, 'X', kAlt, DialogKey::Letter, 'x', true},
                      KeyRow{"char_x", WM_CHAR, 'x', 0, DialogKey::Letter, 'x', false},
                      KeyRow{"char_upper_g", WM_CHAR, 'G', 0, DialogKey::Letter, 'g', false},
                      KeyRow{"syschar_o", WM_SYSCHAR, 'o', kAlt, DialogKey::Letter, 'o', true},
                      KeyRow{"char_digit", WM_CHAR, '7', 0, DialogKey::Other, 0, false},
                      KeyRow{"f10_without_alt", WM_SYSKEYDOWN, VK_F10, 0, DialogKey::Other, 0,
                             false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SessionKeys, OtherMessagesAreNoKeys) {
  EXPECT_FALSE(sessionKeyOf(WM_KEYUP, VK_RETURN, 0).has_value());
  EXPECT_FALSE(sessionKeyOf(WM_MOUSEMOVE, 0, 0).has_value());
}

TEST_F(DesktopDialogTest, EnterOnAControlSoundsTheToneAndGoesNoFurther) {
  const MSG enter{item(ControlId::OpenBase), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(dialog_->filterKey(enter));
  const MSG escape{dialog_->window(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(dialog_->filterKey(escape));
  EXPECT_EQ(tone_.tones, (std::vector<std::pair<int, int>>{{570, 500}, {570, 500}}));
  EXPECT_NE(dialog_->window(), nullptr);
}

TEST_F(DesktopDialogTest, F3EndsTheProgram) {
  const MSG f3{item(ControlId::OpenMt), WM_KEYDOWN, VK_F3, 0, 0, {}};
  EXPECT_TRUE(dialog_->filterKey(f3));
  EXPECT_EQ(dialog_->window(), nullptr);
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // taken back
  EXPECT_TRUE(tone_.tones.empty());
}

// A stray letter, on "e&Xit" itself, is taken and presses nothing: the dialog stays, and
// IsDialogMessageW never sees it.
TEST_F(DesktopDialogTest, APlainLetterIsTakenAndPressesNothing) {
  for (const MSG& key : {MSG{item(ControlId::Exit), WM_KEYDOWN, 'X', 0, 0, {}},
                         MSG{item(ControlId::Exit), WM_CHAR, 'x', 0, 0, {}},
                         MSG{item(ControlId::OpenBase), WM_KEYDOWN, 'G', 0, 0, {}},
                         MSG{dialog_->window(), WM_CHAR, 'g', 0, 0, {}}}) {
    EXPECT_TRUE(dialog_->filterKey(key)) << key.message << " " << key.wParam;
  }
  EXPECT_NE(dialog_->window(), nullptr);
  EXPECT_FALSE(dialog_->viewerOpen());
  MSG quit{};
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(DesktopDialogTest, AMnemonicActsWithAlt) {
  const MSG altG{item(ControlId::OpenBase), WM_SYSKEYDOWN, 'G', kAlt, 0, {}};
  EXPECT_TRUE(dialog_->filterKey(altG));
  EXPECT_TRUE(dialog_->viewerOpen());
  const MSG altQ{item(ControlId::OpenBase), WM_SYSKEYDOWN, 'Q', kAlt, 0, {}};
  EXPECT_FALSE(dialog_->filterKey(altQ));  // no mnemonic: the platform's
}

TEST_F(DesktopDialogTest, KeysOfOtherWindowsAreNotTheFiltersToTake) {
  const MSG enter{GetDesktopWindow(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_FALSE(dialog_->filterKey(enter));
  EXPECT_TRUE(tone_.tones.empty());
}

void clickViewerButton(HWND dialog) {
  const HWND button = GetDlgItem(dialog, static_cast<int>(ControlId::Viewer));
  SendMessageW(button, BM_CLICK, 0, 0);
}

TEST_F(DesktopDialogTest, TheViewerOpensAtItsPlaceAndAnotherCloseCountsAsTheButton) {
  clickViewerButton(dialog_->window());
  ASSERT_TRUE(dialog_->viewerOpen());
  const HWND viewer = FindWindowW(nullptr, L"Wire Flame Viewer");
  ASSERT_NE(viewer, nullptr);
  RECT outer{};
  GetWindowRect(viewer, &outer);
  EXPECT_EQ(outer.left, 10);
  EXPECT_EQ(outer.top, 10);
  EXPECT_EQ(outer.right - outer.left, 420);
  EXPECT_EQ(outer.bottom - outer.top, 420);
  EXPECT_NE(GetWindowLongW(viewer, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetWindowLongW(viewer, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(IsDlgButtonChecked(dialog_->window(), static_cast<int>(ControlId::Viewer)),
            BST_CHECKED);

  // Moved, then closed by the window system: the place is kept and "&G" shows released.
  SetWindowPos(viewer, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(viewer, WM_CLOSE, 0, 0);
  EXPECT_FALSE(dialog_->viewerOpen());
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(IsDlgButtonChecked(dialog_->window(), static_cast<int>(ControlId::Viewer)),
            BST_UNCHECKED);

  clickViewerButton(dialog_->window());
  ASSERT_TRUE(dialog_->viewerOpen());
  GetWindowRect(FindWindowW(nullptr, L"Wire Flame Viewer"), &outer);
  EXPECT_EQ(outer.left, 300);
  EXPECT_EQ(outer.top, 200);
  clickViewerButton(dialog_->window());
  EXPECT_FALSE(dialog_->viewerOpen());
}

// The viewer opens without taking the keyboard; its arrows and Home turn the view.
TEST_F(DesktopDialogTest, TheViewerKeepsTheDialogActiveAndTurnsWithItsKeys) {
  SetActiveWindow(dialog_->window());
  clickViewerButton(dialog_->window());
  ASSERT_TRUE(dialog_->viewerOpen());
  const HWND viewer = dialog_->viewerWindow();
  EXPECT_NE(GetActiveWindow(), viewer);
  EXPECT_NE(GetWindowLongW(viewer, GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_TRUE(dialog_->filterKey(MSG{viewer, WM_KEYDOWN, VK_RIGHT, 0, 0, {}}));
  EXPECT_DOUBLE_EQ(store_->viewAngle, kViewTurnStep);
  EXPECT_TRUE(dialog_->filterKey(MSG{viewer, WM_KEYDOWN, VK_LEFT, 0, 0, {}}));
  EXPECT_TRUE(dialog_->filterKey(MSG{viewer, WM_KEYDOWN, VK_LEFT, 0, 0, {}}));
  EXPECT_DOUBLE_EQ(store_->viewAngle, -kViewTurnStep);
  EXPECT_TRUE(dialog_->filterKey(MSG{viewer, WM_KEYDOWN, VK_HOME, 0, 0, {}}));
  EXPECT_DOUBLE_EQ(store_->viewAngle, 0.0);
  // In the dialog the arrows are the platform's: they move between the buttons.
  EXPECT_FALSE(dialog_->filterKey(MSG{item(ControlId::OpenBase), WM_KEYDOWN, VK_RIGHT, 0, 0, {}}));
  EXPECT_DOUBLE_EQ(store_->viewAngle, 0.0);
}

RECT placeInDialog(HWND dialog, HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::wstring tipOf(HWND tip, HWND dialog, HWND tool) {
  wchar_t text[1024] = {};
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = dialog;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
  return text;
}

// The mark shows at the right end of the status line only while there are warnings; the
// status line gives up its room, and the tooltip holds every text.
TEST_F(DesktopDialogTest, TheWarningMarkNeverCoversTheStatusLine) {
  const HWND status = item(ControlId::StatusLine);
  const HWND mark = dialog_->warningMark();
  ASSERT_NE(mark, nullptr);
  const RECT whole = placeInDialog(dialog_->window(), status);
  EXPECT_FALSE(IsWindowVisible(mark));

  DialogWidgets& widgets = *dialog_;
  widgets.showWarnings({"line 15: F MinERR FNum=2 FType=1 D=f 1 2", "1 face line was not stored"});
  EXPECT_TRUE(IsWindowVisible(mark));
  const RECT shrunk = placeInDialog(dialog_->window(), status);
  const RECT marked = placeInDialog(dialog_->window(), mark);
  EXPECT_EQ(shrunk.left, whole.left);
  EXPECT_LE(shrunk.right, marked.left);
  EXPECT_EQ(marked.right, whole.right);
  EXPECT_EQ(marked.top, whole.top);
  EXPECT_GT(shrunk.right - shrunk.left, (whole.right - whole.left) * 3 / 4);
  EXPECT_EQ(tipOf(dialog_->warningTip(), dialog_->window(), mark),
            L"line 15: F MinERR FNum=2 FType=1 D=f 1 2\r\n1 face line was not stored");

  widgets.showWarnings({});
  EXPECT_FALSE(IsWindowVisible(mark));
  const RECT again = placeInDialog(dialog_->window(), status);
  EXPECT_EQ(again.right, whole.right);
}

TEST_F(DesktopDialogTest, TheViewerTitleIsTheSessions) {
  clickViewerButton(dialog_->window());
  ASSERT_TRUE(dialog_->viewerOpen());
  static_cast<DialogWidgets&>(*dialog_).setViewerTitle("Wire Flame Viewer - warning: line 3: x");
  EXPECT_EQ(textOf(dialog_->viewerWindow()), L"Wire Flame Viewer - warning: line 3: x");
}

// A wide text with the NULs inside it.
template <std::size_t N>
std::wstring withNuls(const wchar_t (&text)[N]) {
  return std::wstring(text, N - 1);
}

struct FilterRow {
  const char* name;
  std::string filter;
  std::wstring expected;
};

class CommonDialogFilter : public ::testing::TestWithParam<FilterRow> {};

TEST_P(CommonDialogFilter, HoldsNamesAndPatternsBetweenNulsAndEndsWithTwo) {
  EXPECT_EQ(commonDialogFilter(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, CommonDialogFilter,
    ::testing::Values(FilterRow{"base", "Base Body Parts(*.obj)|*.obj||",
                                withNuls(L"Base Body Parts(*.obj)\0*.obj\0\0")},
                      FilterRow{"without_closing_bars", "New MT file (*.obj)|*.obj",
                                withNuls(L"New MT file (*.obj)\0*.obj\0\0")},
                      FilterRow{"two_filters", "OBJ(*.obj)|*.obj|All(*.*)|*.*||",
                                withNuls(L"OBJ(*.obj)\0*.obj\0All(*.*)\0*.*\0\0")}),
    [](const auto& info) { return std::string(info.param.name); });

// The session remembers the folder of a chosen file; on Windows both separators count.
TEST(FileDialogFolder, IsThePartBeforeTheLastSeparator) {
  EXPECT_EQ(folderOf("C:\\models\\head.obj"), "C:\\models");
  EXPECT_EQ(folderOf("Z:/work/samples/head.obj"), "Z:/work/samples");
  EXPECT_EQ(folderOf("head.obj"), "");
}

// Every file dialog is given its folder: the session's, else the working folder (never the
// system's memory of the last run).
TEST(FileDialogFolder, StartsInTheSessionsFolderElseTheWorkingFolder) {
  EXPECT_EQ(startingFolder("C:\\models"), L"C:\\models");
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(startingFolder(""), std::wstring(current));
  EXPECT_FALSE(startingFolder("").empty());
}

}  // namespace
}  // namespace calveth
