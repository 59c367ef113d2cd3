#include "widgets/Timer.h"

#include "widgets/Errors.h"

#include <cstdlib>
#include <map>

namespace tv {

namespace {
constexpr UINT WM_TIMER_NOW = WM_APP + 0x51;
HWND host = nullptr;
std::map<UINT_PTR, PeriodicTimer*>& timers() {
    static std::map<UINT_PTR, PeriodicTimer*> m;
    return m;
}
UINT_PTR nextId = 1;
}  // namespace

UINT PeriodicTimer::scaled(UINT ms) {
    static const UINT divisor = [] {
        const char* v = std::getenv("TOLVANE_TEST_TIMER_DIVISOR");
        int d = v ? std::atoi(v) : 1;
        return static_cast<UINT>(d > 1 ? d : 1);
    }();
    UINT s = ms / divisor;
    return s ? s : 1;
}

LRESULT CALLBACK PeriodicTimer::hostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER || msg == WM_TIMER_NOW) {
        auto it = timers().find(static_cast<UINT_PTR>(wp));
        if (it != timers().end()) it->second->tick(msg == WM_TIMER_NOW);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

PeriodicTimer::PeriodicTimer(std::function<void()> handler, UINT intervalMs, bool enabled)
    : handler_(std::move(handler)), interval_(intervalMs), id_(nextId++) {
    if (!host) {
        const wchar_t* cls = registerWindowClass(L"TvTimerHost", hostProc);
        host = CreateWindowExW(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    timers()[id_] = this;
    setEnabled(enabled);
}

PeriodicTimer::~PeriodicTimer() {
    KillTimer(host, id_);
    timers().erase(id_);
}

void PeriodicTimer::setEnabled(bool on) {
    if (dead_ || on == enabled_) return;
    enabled_ = on;
    KillTimer(host, id_);
    if (on) {
        immediatePending_ = true;
        PostMessageW(host, WM_TIMER_NOW, id_, 0);
    }
}

void PeriodicTimer::tick(bool immediate) {
    // A stale immediate tick (switched off and on again since) is dropped.
    if (!enabled_ || running_ || dead_ || immediate != immediatePending_) return;
    KillTimer(host, id_);
    immediatePending_ = false;
    running_ = true;
    bool ok = guarded([this] { handler_(); });
    running_ = false;
    if (!ok) {
        dead_ = true;
        enabled_ = false;
        return;
    }
    // Switched off and on again inside the handler: the posted tick serves it.
    if (enabled_ && !immediatePending_) SetTimer(host, id_, scaled(interval_), nullptr);
}

}  // namespace tv
