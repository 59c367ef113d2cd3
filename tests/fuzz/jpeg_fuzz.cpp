// libFuzzer target for the picture reader: any file must decode to a picture
// of the size its header gave, or fail with a reason, never crash or read
// past the bytes given.
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
    return 0;
}
