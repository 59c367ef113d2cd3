#pragma once
// The program-wide handler of unexpected errors: the error is shown to the
// user and the message loop goes on with the state as the error left it.
// This is the boundary every window procedure and callback passes through.
#include <exception>
#include <string>

namespace tv {

void reportUnexpected(std::exception_ptr error) noexcept;
std::wstring errorText(std::exception_ptr error);

// Runs a handler; an escaping error is reported. Returns false when it escaped.
template <typename F>
bool guarded(F&& f) noexcept {
    try {
        f();
        return true;
    } catch (...) {
        reportUnexpected(std::current_exception());
        return false;
    }
}

}  // namespace tv
