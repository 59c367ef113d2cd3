// libFuzzer target for the picture reader: any file must decode to a picture
// (at full size, or scaled for a size shown), or fail with a reason, never
// crash or read past the bytes given.
#include "FuzzCheck.h"
#include "widgets/core/JpegImage.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that a read past the end is caught.
    const std::vector<unsigned char> file(data, data + size);
    std::string why;
    const auto img = tv::decodeJpeg(file.data(), file.size(), &why);
    if (!img) {
        tv::fuzz::check(!why.empty());
        return 0;
    }
    tv::fuzz::check(!img->empty());
    tv::fuzz::check(img->pixels.size() == static_cast<std::size_t>(img->width) * img->height);
    for (std::uint32_t p : img->pixels) tv::fuzz::check((p >> 24) == 0);
    // Decoded for a smaller size shown: not below it, not above the full size.
    const tv::FitSize fit{(img->width + 2) / 3, (img->height + 2) / 3};
    if (const auto small = tv::decodeJpeg(file.data(), file.size(), &why, fit)) {
        tv::fuzz::check(small->width >= fit.width && small->height >= fit.height);
        tv::fuzz::check(small->width <= img->width && small->height <= img->height);
        tv::fuzz::check(small->pixels.size() == static_cast<std::size_t>(small->width) * small->height);
    }
    return 0;
}
