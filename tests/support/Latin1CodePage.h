#pragma once
// A code page of the first 256 code points, one byte each, as Latin-1 is:
// enough to tell a fitting text from one that does not fit, for the plain-text
// tests and their fuzz target.
#include "text/core/TextEncoding.h"

#include <optional>
#include <string>
#include <string_view>

namespace tv::test {

class Latin1 : public AnsiCodePage {
public:
    std::optional<std::string> encode(std::u16string_view text) const override {
        std::string out;
        for (char16_t c : text) {
            if (c > 0xFF) return std::nullopt;
            out.push_back(static_cast<char>(c));
        }
        return out;
    }
};

}  // namespace tv::test
