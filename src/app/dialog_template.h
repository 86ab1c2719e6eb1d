// The main dialog's layout: its size, caption and every control with its id, caption, kind,
// rectangle and initial state, in tab order.
//
// Rectangles are in dialog units (x, y, width, height): a front end turns them into pixels
// with the metrics of the dialog's font, so the layout keeps its proportions on any screen.
#pragma once

#include <string_view>

#include "ports/control_id.h"

namespace calveth {

inline constexpr std::string_view kDialogCaption = "CALVETH II                       ver. 2.2.0";
inline constexpr std::string_view kDialogFontFace = "Arial";
inline constexpr int kDialogFontPoints = 8;
inline constexpr int kDialogWidthUnits = 151;
inline constexpr int kDialogHeightUnits = 189;

enum class ControlKind {
  PushButton,
  CheckBox,      // toggles itself
  PushCheckBox,  // a check box drawn as a push button, toggles itself
  StatusEdit,    // single-line, read-only, scrolls horizontally
  GroupBox,      // caption centred
  Slider,        // view angle
  ProgressBar,
  Picture,  // the banner
};

struct DialogUnitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ControlTemplate {
  // Controls without an id (the group box and the banner) carry 0.
  int id = 0;
  std::string_view caption;
  ControlKind kind = ControlKind::PushButton;
  DialogUnitRect rect;
  bool visible = true;
  bool enabled = true;
  bool tabStop = true;
  // The button is drawn with the thick frame of a default button.
  bool defaultFrame = false;
  // The control has a thin sunken edge of its own.
  bool staticEdge = false;
  // "R" is a flat push button.
  bool flat = false;
};

constexpr int idOf(ControlId control) { return static_cast<int>(control); }

inline constexpr ControlTemplate kDialogTemplate[] = {
    {idOf(ControlId::OpenBase),
     "Open Base",
     ControlKind::PushButton,
     {6, 6, 46, 15},
     true,
     true,
     true,
     true},
    {idOf(ControlId::OpenMt),
     "&Open MT",
     ControlKind::PushButton,
     {18, 23, 39, 15},
     true,
     true,
     true,
     true},
    {idOf(ControlId::MirrorRightToLeft),
     "Mirror R->L",
     ControlKind::PushButton,
     {37, 46, 46, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::MirrorLeftToRight),
     "Mirror L->R",
     ControlKind::PushButton,
     {86, 46, 46, 15},
     true,
     false,
     true,
     false,
     true},
    {idOf(ControlId::Swap),
     "Swap",
     ControlKind::PushButton,
     {61, 62, 45, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::ResetLeft),
     "Reset L",
     ControlKind::PushButton,
     {37, 78, 46, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::ResetRight),
     "Reset R",
     ControlKind::PushButton,
     {86, 78, 46, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::MinusDelta),
     "-",
     ControlKind::PushButton,
     {37, 94, 46, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::PlusDelta),
     "+",
     ControlKind::PushButton,
     {86, 94, 46, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::Melt),
     "Melt",
     ControlKind::PushButton,
     {61, 110, 45, 15},
     true,
     false,
     true,
     true,
     true},
    {idOf(ControlId::SaveMt),
     "&Save MT",
     ControlKind::PushButton,
     {18, 129, 40, 15},
     true,
     false,
     true,
     true},
    {idOf(ControlId::Exit),
     "e&Xit",
     ControlKind::PushButton,
     {7, 146, 46, 13},
     true,
     true,
     true,
     true},
    {idOf(ControlId::StatusLine), "", ControlKind::StatusEdit, {4, 171, 144, 15}},
    {0, "FUNCTION", ControlKind::GroupBox, {29, 36, 110, 91}, true, true, false},
    {idOf(ControlId::ReflectedBase),
     "R",
     ControlKind::PushCheckBox,
     {62, 7, 18, 10},
     false,
     false,
     true,
     false,
     false,
     true},
    {idOf(ControlId::VertexOnly),
     "vertex only (for MT)",
     ControlKind::CheckBox,
     {61, 132, 81, 10},
     true,
     false},
    {idOf(ControlId::Viewer), "&G", ControlKind::PushCheckBox, {116, 17, 21, 16}},
    {idOf(ControlId::ViewAngleSlider), "Slider1", ControlKind::Slider, {9, 83, 16, 7}, false},
    {idOf(ControlId::Progress),
     "Progress1",
     ControlKind::ProgressBar,
     {4, 164, 144, 6},
     true,
     true,
     false},
    {0, "", ControlKind::Picture, {62, 146, 85, 14}, true, true, false},
};

// The slider's range and its position after the dialog's initialisation.
inline constexpr int kSliderMinimum = 0;
inline constexpr int kSliderMaximum = 63;
inline constexpr int kSliderStart = 31;

// The progress bar's range is 16 bits wide.
inline constexpr int kProgressMaximum = 65535;

}  // namespace calveth
