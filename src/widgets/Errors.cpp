#include "widgets/Errors.h"

#include "widgets/Win.h"

namespace tv {

std::wstring errorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Failure& e) {  // the settings errors too
        return e.text();
    } catch (const std::bad_alloc&) {
        return L"Out of memory.";
    } catch (const std::exception& e) {
        std::string s = e.what();
        return std::wstring(s.begin(), s.end());
    } catch (...) {
        return L"Unknown error.";
    }
}

void reportUnexpected(std::exception_ptr error) noexcept {
    try {
        static int depth = 0;
        // An error raised while an earlier one is still on screen is shown too,
        // but never recursively without bound.
        if (depth > 4) return;
        ++depth;
        const std::wstring text = errorText(error);
        try {
            messageBox(GetActiveWindow(), text, kAppTitle, MB_OK | MB_ICONERROR);
        } catch (...) {
            // Its buttons could not be translated: the error is told all the same.
            MessageBoxW(GetActiveWindow(), text.c_str(), kAppTitle, MB_OK | MB_ICONERROR | MB_TOPMOST);
        }
        --depth;
    } catch (...) {
    }
}

}  // namespace tv
