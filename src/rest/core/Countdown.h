#pragma once
// The break timer's two counts: the writing minutes shown on the command panel
// (jvtTemporizadorTimer) and the rest seconds of the rest window
// (temporizadorTimer). Portable: the Win32 side copies bar, label and hint
// into its controls after each call and shows or closes the rest window.
#include <cstdint>
#include <string>

namespace tv {

// A progress bar as the controls keep it: the position is held within range.
struct ProgressBar {
    int min = 0;
    int max = 0;
    int pos = 0;
    bool visible = true;
    friend bool operator==(const ProgressBar&, const ProgressBar&) = default;

    void setRange(int newMin, int newMax);
    void setPosition(int p);
};

class BreakCountdown {
public:
    // Countdown set-up from the minutes slider: count, bar 0..n at n, hint
    // "<n> minutes to rest", bar and label shown.
    void setUp(int configuredMinutes);

    // The minute tick. Returns true when the rest is due: the caller then shows
    // the rest window modally and, once it is closed, calls afterRest with the
    // minutes slider read at that moment. Otherwise the count has gone down by
    // one and bar, label and hint are already up to date.
    bool tick();
    void afterRest(int configuredMinutes);
    // Takes over a count stored from outside (reading the settings puts the
    // minutes read straight into the workspace's counter); bar and hint follow
    // at the next tick or set-up.
    void adopt(std::int32_t minutes) { iMinutos_ = minutes; }

    std::int32_t minutes() const { return iMinutos_; }
    const ProgressBar& bar() const { return bar_; }
    bool labelVisible() const { return labelVisible_; }  // lblTxtMinutos
    const std::wstring& hint() const { return hint_; }

private:
    void show();

    std::int32_t iMinutos_ = 0;
    ProgressBar bar_;
    bool labelVisible_ = false;  // hidden until the first set-up
    std::wstring hint_;
};

// "mm:ss" of |seconds| read as a time of day (minutes of the hour, seconds of
// the minute).
std::wstring restClockText(std::int32_t seconds);

class RestCountdown {
public:
    struct Tick {
        bool close = false;  // the rest is over: close the window
        int barPos = 0;
        std::wstring label;  // lTiempo
    };

    // FormShow: seconds from the slider, bar 0..S at 0.
    void show(int configuredSeconds);

    // temporizadorTimer: the count goes down by one; the tick that finds 1
    // closes the window, any other updates bar and label. With 0 the close is
    // never reached and the label counts up 00:01, 00:02 ...
    Tick tick();

    std::int32_t seconds() const { return iSegundos_; }
    const ProgressBar& bar() const { return bar_; }
    const std::wstring& label() const { return label_; }

private:
    std::int32_t iSegundos_ = 0;
    ProgressBar bar_;
    std::wstring label_;
};

}  // namespace tv
