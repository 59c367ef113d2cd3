#pragma once
// Periodic timer of the program: the first tick after switching on comes at
// the next pass of the message loop, each later one an interval after the
// handler returned; a tick never re-enters its handler; ticks are served in
// any message loop of the thread (modal boxes too); an error escaping the
// handler is reported and ends the timer for the rest of the run.
#include "widgets/Win.h"

#include <functional>

namespace tv {

class PeriodicTimer {
public:
    PeriodicTimer(std::function<void()> handler, UINT intervalMs, bool enabled = true);
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    void setInterval(UINT ms) { interval_ = ms; }
    UINT interval() const { return interval_; }

    // Test seam: every interval is divided by this factor (TOLVANE_TEST_TIMER_DIVISOR).
    static UINT scaled(UINT ms);

private:
    static LRESULT CALLBACK hostProc(HWND, UINT, WPARAM, LPARAM);
    void tick(bool immediate);
    std::function<void()> handler_;
    UINT interval_;
    UINT_PTR id_;
    bool enabled_ = false;
    bool running_ = false;
    bool immediatePending_ = false;
    bool dead_ = false;  // ended by an escaping error
};

}  // namespace tv
