// The viewer window's size: 420 by 420 pixels outside, title bar and borders included.
//
// The drawing area is what that leaves on a 96-dpi desktop of the classic look, which is the
// size pictures of the viewer are made at:
// - each side loses 6 pixels: a 3-pixel fixed frame, a 1-pixel static edge and the 2-pixel
//   sunken edge around the drawing area;
// - the top loses a further 19 pixels of title bar.
// The legend row starts at y = 380, so the lower part of its letters (the descenders) lies
// below the drawing area and is cut off, as it is in the window.
#pragma once

namespace calveth {

inline constexpr int kViewerOuterWidth = 420;
inline constexpr int kViewerOuterHeight = 420;

inline constexpr int kViewerFramePerSide = 3 + 1 + 2;
inline constexpr int kViewerTitleBar = 19;

inline constexpr int kViewerClientWidth = kViewerOuterWidth - 2 * kViewerFramePerSide;
inline constexpr int kViewerClientHeight =
    kViewerOuterHeight - 2 * kViewerFramePerSide - kViewerTitleBar;
static_assert(kViewerClientWidth == 408 && kViewerClientHeight == 389);

// The screen resolution that the legend's point size is converted with.
inline constexpr int kViewerDpi = 96;

}  // namespace calveth
