#pragma once
// The ambient volume: the slider's 0..1000 range and the fade at exit
// (MPFadeOut). Portable: the Win32 side supplies the slider, the volume command
// and the pause.
#include <functional>
#include <vector>

namespace tv {

inline constexpr int kVolumeMin = 0;
inline constexpr int kVolumeMax = 1000;
inline constexpr int kVolumeInitial = 500;

inline constexpr int kFadeSteps = 251;     // i = 0 .. 250
inline constexpr int kFadeStepDown = 2;    // level S - 2 * i
inline constexpr int kFadePauseMs = 1;     // after every step, sound on or off

// What the volume slider makes of a position set from code.
int clampVolume(long long level);

// The slider level of fade step i from start level S: S - 2 i, clamped.
int fadeLevel(int start, int step);

// All kFadeSteps levels in order.
std::vector<int> fadeSchedule(int start);

// Runs the fade: for every step, when the sound is on, setLevel(level) (the
// caller moves the slider and sends the volume); then pauseMs(kFadePauseMs).
void fadeOut(int start, bool soundOn, const std::function<void(int)>& setLevel,
             const std::function<void(int)>& pauseMs);

}  // namespace tv
