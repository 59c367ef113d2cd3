// libFuzzer target for the click check: any image gets an answer, and a
// playable one really holds its RIFF header inside the bytes.
#include "FuzzCheck.h"
#include "sound/core/WaveImage.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that a read past the end is caught.
    const std::string image(tv::fuzz::bytes(data, size));
    if (tv::checkWaveImage(image) != tv::WaveCheck::Playable) return 0;
    tv::fuzz::check(size >= 12 && std::memcmp(image.data(), "RIFF", 4) == 0 &&
                    std::memcmp(image.data() + 8, "WAVE", 4) == 0);
    std::uint32_t riff = 0;
    for (int i = 3; i >= 0; --i) riff = riff << 8 | static_cast<unsigned char>(image[4 + i]);
    tv::fuzz::check(riff <= size - 8);
    return 0;
}
