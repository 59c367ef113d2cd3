#include "widgets/core/JpegImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
std::string fixture(const char* name) {
    std::ifstream f(std::string(TOLVANE_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}
const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }
}  // namespace

TEST(JpegImage, DecodesAPicture) {
    std::string data = fixture("fondo.jpg");
    ASSERT_FALSE(data.empty());
    auto img = tv::decodeJpeg(bytes(data), data.size());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width, 160);
    EXPECT_EQ(img->height, 100);
    // The fixture runs from dark blue-grey on the left to lighter on the right.
    std::uint32_t left = img->pixels[50 * 160 + 2], right = img->pixels[50 * 160 + 157];
    EXPECT_LT((left >> 16) & 0xFF, (right >> 16) & 0xFF);
}

TEST(JpegImage, DecodesAtTheSmallestScaleNotBelowTheSizeShown) {
    const std::string data = fixture("fondo.jpg");  // 160 x 100
    struct Case {
        tv::FitSize fit;
        int width, height;
    } cases[] = {
        {{0, 0}, 160, 100},       // no size: the full picture
        {{40, 25}, 40, 25},       // exactly 2/8
        {{41, 25}, 60, 38},       // a pixel more: 3/8, rounded up as libjpeg does
        {{40, 26}, 60, 38},       // either way
        {{10, 5}, 20, 13},        // 1/8 is the smallest
        {{1280, 800}, 160, 100},  // a screen larger than the picture: never enlarged
        {{160, 1}, 160, 100},
    };
    for (const Case& c : cases) {
        const auto img = tv::decodeJpeg(bytes(data), data.size(), nullptr, c.fit);
        ASSERT_TRUE(img) << c.fit.width << "x" << c.fit.height;
        EXPECT_EQ(img->width, c.width) << c.fit.width << "x" << c.fit.height;
        EXPECT_EQ(img->height, c.height) << c.fit.width << "x" << c.fit.height;
        EXPECT_EQ(img->pixels.size(), static_cast<std::size_t>(c.width) * c.height);
        // Still the same picture: dark on the left, lighter on the right.
        const std::uint32_t left = img->pixels[img->height / 2 * img->width + 1];
        const std::uint32_t right = img->pixels[img->height / 2 * img->width + img->width - 2];
        EXPECT_LT((left >> 16) & 0xFF, (right >> 16) & 0xFF);
    }
}

TEST(JpegImage, BadInputFailsWithAReasonInsteadOfEndingTheProcess) {
    std::string full = fixture("fondo.jpg");
    struct Case {
        const char* name;
        std::string data;
    } cases[] = {
        {"truncated fixture", fixture("truncated.jpg")},
        {"garbage", fixture("garbage.jpg")},
        {"header only", full.substr(0, 20)},
        {"two bytes", full.substr(0, 2)},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(tv::decodeJpeg(bytes(c.data), c.data.size(), &why)) << c.name;
        EXPECT_FALSE(why.empty()) << c.name;
    }
}
