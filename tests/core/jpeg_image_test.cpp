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
