#pragma once
// JPEG decoding that never ends the process: libjpeg's fatal errors and the
// "premature end of data" warning of a truncated file both come back as a
// failure with a readable reason.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tv {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // top-down rows, 0x00RRGGBB (a 32-bit DIB's layout)
    bool empty() const { return width <= 0 || height <= 0; }
};

std::optional<Image> decodeJpeg(const unsigned char* data, std::size_t size, std::string* error = nullptr);

}  // namespace tv
