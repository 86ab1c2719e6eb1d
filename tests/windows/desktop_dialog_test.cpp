// The Windows dialog's wiring: every control of the template created with its id, class,
// caption, rectangle, visibility and starting availability; the keyboard filter's verdicts;
// "&G" and a close by the system; the file dialogs' filter lists and remembered folder.
// The dialog is a real Win32 dialog, so these tests need a display (make test-windows runs
// them on a virtual one).
#include "win32/desktop_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/dialog_template.h"
#include "win32/file_dialogs.h"
#include "win32/wide_text.h"

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
  KeyVerdict verdict;
};

class KeyVerdicts : public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyVerdicts, AreTheFiltersRules) {
  EXPECT_EQ(keyVerdict(GetParam().message, GetParam().key), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyVerdicts,
    ::testing::Values(KeyRow{"enter", WM_KEYDOWN, VK_RETURN, KeyVerdict::toneAndSwallow},
                      KeyRow{"escape", WM_KEYDOWN, VK_ESCAPE, KeyVerdict::toneAndSwallow},
                      KeyRow{"f3", WM_KEYDOWN, VK_F3, KeyVerdict::closeAndPassOn},
                      KeyRow{"tab", WM_KEYDOWN, VK_TAB, KeyVerdict::passOn},
                      KeyRow{"space", WM_KEYDOWN, VK_SPACE, KeyVerdict::passOn},
                      KeyRow{"enter_released", WM_KEYUP, VK_RETURN, KeyVerdict::passOn},
                      KeyRow{"alt_x", WM_SYSKEYDOWN, 'X', KeyVerdict::passOn}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopDialogTest, EnterOnAControlSoundsTheToneAndGoesNoFurther) {
  const MSG enter{item(ControlId::OpenBase), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(dialog_->filterKey(enter));
  const MSG escape{dialog_->window(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(dialog_->filterKey(escape));
  EXPECT_EQ(tone_.tones, (std::vector<std::pair<int, int>>{{570, 500}, {570, 500}}));
  EXPECT_NE(dialog_->window(), nullptr);
}

TEST_F(DesktopDialogTest, F3AsksTheDialogToCloseAndPassesTheKeyOn) {
  const MSG f3{item(ControlId::OpenMt), WM_KEYDOWN, VK_F3, 0, 0, {}};
  EXPECT_FALSE(dialog_->filterKey(f3));
  MSG posted{};
  EXPECT_TRUE(PeekMessageW(&posted, dialog_->window(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_TRUE(tone_.tones.empty());
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

TEST(FileDialogFolder, IsThePartBeforeTheLastSeparator) {
  EXPECT_EQ(folderOf(L"C:\\models\\head.obj"), L"C:\\models\\");
  EXPECT_EQ(folderOf(L"Z:/work/samples/head.obj"), L"Z:/work/samples/");
  EXPECT_EQ(folderOf(L"head.obj"), L"");
}

}  // namespace
}  // namespace calveth
