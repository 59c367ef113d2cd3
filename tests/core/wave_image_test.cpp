#include "sound/core/WaveImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

using namespace tv;

namespace {

std::string fixture(const char* name) {
    std::ifstream f(std::string(TOLVANE_FIXTURES) + "/" + name, std::ios::binary);
    EXPECT_TRUE(f) << name;
    return {std::istreambuf_iterator<char>(f), {}};
}

std::string le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
std::string le16(std::uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

std::string chunk(const std::string& tag, const std::string& body) {
    std::string c = tag + le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() & 1) c += '\0';
    return c;
}

// 'fmt ' body: PCM, channels, rate, block align; 16 bytes unless cut.
std::string format(std::uint16_t channels = 1, std::uint32_t rate = 8000, std::uint16_t align = 2,
                   std::size_t size = 16) {
    std::string f = le16(1) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(16);
    f.resize(size, '\0');
    return f;
}

std::string riff(const std::string& form, const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + form + chunks;
}

const std::string kSamples(64, '\x10');

}  // namespace

TEST(WaveImage, FixtureFiles) {
    struct Case {
        const char* file;
        WaveCheck want;
    } cases[] = {
        {"click.wav", WaveCheck::Playable},
        {"truncated.wav", WaveCheck::Truncated},
        {"notriff.wav", WaveCheck::NotRiff},
        {"empty.bin", WaveCheck::TooShort},
        {"nodata.wav", WaveCheck::Playable},  // complete, with no samples: silence, nothing past its end
        {"sonido.mp3", WaveCheck::NotRiff},
    };
    for (const Case& c : cases) EXPECT_EQ(checkWaveImage(fixture(c.file)), c.want) << c.file;
}

TEST(WaveImage, BuiltImages) {
    const std::string good = riff("WAVE", chunk("fmt ", format()) + chunk("data", kSamples));
    std::string riffSizeZero = good;
    riffSizeZero.replace(4, 4, le32(0));
    std::string hugeChunk = riff("WAVE", chunk("fmt ", format()) + "data" + le32(0xFFFFFFFFu) + kSamples);
    hugeChunk.replace(4, 4, le32(static_cast<std::uint32_t>(hugeChunk.size() - 8)));

    struct Case {
        const char* what;
        std::string image;
        WaveCheck want;
    } cases[] = {
        {"minimal PCM", good, WaveCheck::Playable},
        {"bytes after the RIFF extent", good + "ID3 tag appended", WaveCheck::Playable},
        {"odd chunk padded before fmt", riff("WAVE", chunk("LIST", "abc") + chunk("fmt ", format()) +
                                                         chunk("data", kSamples)),
         WaveCheck::Playable},
        {"extended fmt", riff("WAVE", chunk("fmt ", format(2, 44100, 4, 18)) + chunk("data", kSamples)),
         WaveCheck::Playable},
        {"last byte missing", good.substr(0, good.size() - 1), WaveCheck::Truncated},
        {"header only", good.substr(0, 12), WaveCheck::Truncated},
        {"RIFF size below the form tag", riffSizeZero, WaveCheck::Truncated},
        {"chunk size past the end", hugeChunk, WaveCheck::Truncated},
        {"eleven bytes", good.substr(0, 11), WaveCheck::TooShort},
        {"another RIFF form", riff("AVI ", chunk("fmt ", format()) + chunk("data", kSamples)),
         WaveCheck::NotWave},
        {"data before fmt", riff("WAVE", chunk("data", kSamples) + chunk("fmt ", format())), WaveCheck::NoFormat},
        {"no fmt at all", riff("WAVE", chunk("data", kSamples)), WaveCheck::NoFormat},
        {"fmt cut to 14 bytes", riff("WAVE", chunk("fmt ", format(1, 8000, 2, 14)) + chunk("data", kSamples)),
         WaveCheck::BadFormat},
        {"no channels", riff("WAVE", chunk("fmt ", format(0)) + chunk("data", kSamples)), WaveCheck::BadFormat},
        {"rate 0", riff("WAVE", chunk("fmt ", format(1, 0)) + chunk("data", kSamples)), WaveCheck::BadFormat},
        {"block align 0", riff("WAVE", chunk("fmt ", format(1, 8000, 0)) + chunk("data", kSamples)),
         WaveCheck::BadFormat},
        {"fmt without data", riff("WAVE", chunk("fmt ", format())), WaveCheck::NoData},
        {"lower-case tag", "riff" + good.substr(4), WaveCheck::NotRiff},
    };
    for (const Case& c : cases) EXPECT_EQ(checkWaveImage(c.image), c.want) << c.what;
}

TEST(WaveImage, EveryCutOfAGoodFileIsRefused) {
    // Whatever the length a copy stopped at, the click must stay silent.
    const std::string good = fixture("click.wav");
    ASSERT_TRUE(isPlayableWave(good));
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(isPlayableWave(good.substr(0, n))) << n;
}
