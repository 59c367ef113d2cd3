#include "sound/core/WaveImage.h"

#include <cstdint>

namespace tv {

namespace {
std::uint32_t le32(std::string_view s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}
std::uint16_t le16(std::string_view s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      static_cast<unsigned char>(s[at + 1]) << 8);
}

constexpr std::size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeader = 8;  // tag, size
constexpr std::uint32_t kPcmFormatSize = 16;
}  // namespace

WaveCheck checkWaveImage(std::string_view image) {
    if (image.size() < kRiffHeader) return WaveCheck::TooShort;
    if (image.substr(0, 4) != "RIFF") return WaveCheck::NotRiff;
    if (image.substr(8, 4) != "WAVE") return WaveCheck::NotWave;
    // Bytes after the RIFF extent (a tag appended by some tool) are ignored;
    // an extent longer than the image means the file was cut short.
    const std::uint64_t extent = std::uint64_t{le32(image, 4)} + 8;
    if (extent > image.size()) return WaveCheck::Truncated;
    if (extent < kRiffHeader) return WaveCheck::Truncated;

    bool format = false;
    std::uint64_t at = kRiffHeader;
    while (at + kChunkHeader <= extent) {
        const std::string_view tag = image.substr(static_cast<std::size_t>(at), 4);
        const std::uint64_t size = le32(image, static_cast<std::size_t>(at) + 4);
        const std::uint64_t body = at + kChunkHeader;
        if (body + size > extent) return WaveCheck::Truncated;
        if (tag == "fmt ") {
            if (size < kPcmFormatSize) return WaveCheck::BadFormat;
            const std::size_t f = static_cast<std::size_t>(body);
            const std::uint16_t channels = le16(image, f + 2);
            const std::uint32_t rate = le32(image, f + 4);
            const std::uint16_t blockAlign = le16(image, f + 12);
            if (channels == 0 || rate == 0 || blockAlign == 0) return WaveCheck::BadFormat;
            format = true;
        } else if (tag == "data") {
            // The samples are read by the format found before them.
            return format ? WaveCheck::Playable : WaveCheck::NoFormat;
        }
        at = body + size + (size & 1);  // chunks are padded to even length
    }
    return format ? WaveCheck::NoData : WaveCheck::NoFormat;
}

}  // namespace tv
