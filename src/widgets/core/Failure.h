#pragma once
// The program's one user-facing error: whatever a handler does not catch
// itself ends up in a message box showing text(). Portable, so that the
// portable core can raise it too (the settings errors derive from it).
#include <stdexcept>
#include <string>

namespace tv {

class Failure : public std::runtime_error {
public:
    explicit Failure(std::wstring text, const std::string& what = "failure")
        : std::runtime_error(what), text_(std::move(text)) {}
    const std::wstring& text() const { return text_; }

private:
    std::wstring text_;
};

}  // namespace tv
