#include "rest/core/Countdown.h"

#include <algorithm>
#include <limits>

namespace tv {

void ProgressBar::setRange(int newMin, int newMax) {
    min = newMin;
    max = std::max(newMin, newMax);
    setPosition(pos);
}

void ProgressBar::setPosition(int p) { pos = std::clamp(p, min, max); }

void BreakCountdown::setUp(int configuredMinutes) {
    iMinutos_ = configuredMinutes;
    bar_.setRange(0, iMinutos_);
    bar_.setPosition(iMinutos_);
    hint_ = std::to_wstring(iMinutos_) + L" minutes to rest";
    labelVisible_ = true;
    bar_.visible = true;
}

bool BreakCountdown::tick() {
    if (iMinutos_ == 1) return true;
    // With a setting of 0 the count falls for ever; stop at the floor rather than wrap.
    if (iMinutos_ > std::numeric_limits<std::int32_t>::min()) --iMinutos_;
    show();
    return false;
}

void BreakCountdown::afterRest(int configuredMinutes) {
    iMinutos_ = configuredMinutes;
    bar_.setRange(0, iMinutos_);
    bar_.setPosition(iMinutos_);
    hint_ = std::to_wstring(iMinutos_) + L" minutes to rest break";
    show();
}

void BreakCountdown::show() {
    if (iMinutos_ < 0) {
        labelVisible_ = false;
        bar_.visible = false;
        return;
    }
    labelVisible_ = true;
    bar_.setPosition(iMinutos_);
    hint_ = std::to_wstring(iMinutos_) + L" minutes to rest break";
}

std::wstring restClockText(std::int32_t seconds) {
    const std::int64_t s = seconds < 0 ? -std::int64_t{seconds} : std::int64_t{seconds};
    const int mm = static_cast<int>(s / 60 % 60), ss = static_cast<int>(s % 60);
    const auto digit = [](int d) { return static_cast<wchar_t>(L'0' + d); };
    return {digit(mm / 10), digit(mm % 10), L':', digit(ss / 10), digit(ss % 10)};
}

void RestCountdown::show(int configuredSeconds) {
    iSegundos_ = configuredSeconds;
    bar_.setRange(0, iSegundos_);
    bar_.setPosition(0);
}

RestCountdown::Tick RestCountdown::tick() {
    const std::int32_t old = iSegundos_;
    // With a rest length of 0 the count falls for ever; stop at the floor rather than wrap.
    if (iSegundos_ > std::numeric_limits<std::int32_t>::min()) --iSegundos_;
    if (old == 1) return {true, bar_.pos, label_};

    const std::int64_t pos = std::int64_t{bar_.max} - old + 1;
    bar_.setPosition(static_cast<int>(std::clamp<std::int64_t>(pos, bar_.min, bar_.max)));
    label_ = L"Rest break for " + restClockText(iSegundos_);
    return {false, bar_.pos, label_};
}

}  // namespace tv
