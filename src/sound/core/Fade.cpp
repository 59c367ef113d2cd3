#include "sound/core/Fade.h"

#include <algorithm>

namespace tv {

int clampVolume(long long level) {
    return static_cast<int>(std::clamp<long long>(level, kVolumeMin, kVolumeMax));
}

int fadeLevel(int start, int step) {
    return clampVolume(static_cast<long long>(start) - static_cast<long long>(kFadeStepDown) * step);
}

std::vector<int> fadeSchedule(int start) {
    std::vector<int> levels;
    levels.reserve(kFadeSteps);
    for (int i = 0; i < kFadeSteps; ++i) levels.push_back(fadeLevel(start, i));
    return levels;
}

void fadeOut(int start, bool soundOn, const std::function<void(int)>& setLevel,
             const std::function<void(int)>& pauseMs) {
    for (int i = 0; i < kFadeSteps; ++i) {
        if (soundOn) setLevel(fadeLevel(start, i));
        pauseMs(kFadePauseMs);
    }
}

}  // namespace tv
