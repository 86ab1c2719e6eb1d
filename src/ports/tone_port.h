// TonePort: a tone of a frequency and a length, as the dialog sounds it when Enter or Esc
// is pressed.
//
// An implementation must return at once: the tone plays on while the dialog goes on taking
// input. Tests inject a recording one.
#pragma once

namespace calveth {

class TonePort {
 public:
  virtual ~TonePort() = default;
  virtual void sound(int frequencyHz, int durationMs) = 0;
};

// The tone of the dialog's refused keys.
inline constexpr int kRefusedKeyToneHz = 570;
inline constexpr int kRefusedKeyToneMs = 500;

}  // namespace calveth
