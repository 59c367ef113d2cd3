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

// The size a picture is shown at; none (0 x 0) for its full size.
struct FitSize {
    int width = 0;
    int height = 0;
};

// Decoded with libjpeg's own scaling at the smallest of its sizes (n/8 of the
// full size, n from 1 to 8) that is not below `fit` either way, so that a
// camera photo costs what a screen-size picture costs; never above full size.
std::optional<Image> decodeJpeg(const unsigned char* data, std::size_t size, std::string* error = nullptr,
                                FitSize fit = {});

}  // namespace tv
