#include "i18n/core/MoCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../support/MoImageBuilder.h"

namespace tv {
namespace {

using test::MoEntry;
using test::MoLayout;

// A heap copy of exactly the image's size, so that any read past its end is
// caught by the address sanitizer (a std::string has spare capacity).
class ExactBuffer {
public:
    explicit ExactBuffer(std::string_view bytes)
        : size_(bytes.size()), data_(new char[bytes.size() ? bytes.size() : 1]) {
        if (size_) std::memcpy(data_.get(), bytes.data(), size_);
    }
    std::string_view view() const { return {data_.get(), size_}; }
private:
    std::size_t size_;
    std::unique_ptr<char[]> data_;
};

const std::string kUtf8Header = "Project-Id-Version: Tolvane\nContent-Type: text/plain; charset=UTF-8\n";

std::vector<MoEntry> sampleEntries() {
    std::vector<MoEntry> entries = {
        {"", kUtf8Header},
        {"Do you want to save document changes?", "\xC2\xBF" "Desea guardar los cambios del documento?"},
        {"First line\nSecond line", "Primera l\xC3\xADnea\nSegunda l\xC3\xADnea"},
        {"&Yes", "&S\xC3\xAD"},
        {std::string("file\0files", 10), std::string("fichero\0ficheros", 16)},
        {"Cancel", "Cancelar"},
        {"\xC3\x89t\xC3\xA9", "Verano"},
    };
    // Enough entries to make the hash table collide.
    for (int i = 0; i < 300; ++i)
        entries.push_back({"Message " + std::to_string(i), "Mensaje " + std::to_string(i)});
    return entries;
}

const MoLayout kLayouts[] = {{false, true}, {false, false}, {true, true}, {true, false}};

std::string layoutName(const MoLayout& l) {
    return std::string(l.bigEndian ? "big-endian" : "little-endian") +
           (l.hashTable ? " with hash table" : " without hash table");
}

TEST(MoHash, MatchesPublishedHashpjwValues) {
    EXPECT_EQ(moHash(""), 0u);
    EXPECT_EQ(moHash("foo"), 27999u);
    EXPECT_EQ(moHash("stan"), 502398u);
    EXPECT_EQ(moHash(std::string("foo\0bar", 7)), 27999u);  // stops at the NUL
}

TEST(MoCatalog, FindsEveryEntryInEveryLayout) {
    const auto entries = sampleEntries();
    for (const MoLayout& layout : kLayouts) {
        SCOPED_TRACE(layoutName(layout));
        const ExactBuffer image(test::buildMoImage(entries, layout));
        const auto catalog = MoCatalog::open(image.view());
        ASSERT_TRUE(catalog);
        EXPECT_EQ(catalog->hasHashTable(), layout.hashTable);
        EXPECT_EQ(catalog->count(), entries.size());
        for (const MoEntry& e : entries) {
            const std::string key = e.original.substr(0, e.original.find('\0'));
            const auto found = catalog->find(key);
            ASSERT_TRUE(found) << key;
            EXPECT_EQ(*found, e.translation.substr(0, e.translation.find('\0'))) << key;
        }
        EXPECT_EQ(catalog->header(), kUtf8Header);
    }
}

TEST(MoCatalog, MissesAnythingButTheExactOriginal) {
    const char* const misses[] = {
        "Cance", "Cancel ", "cancel", "Cancelar", "files", "Message 300", "First line\r\nSecond line",
        "zzz", "\xFF",
    };
    for (const MoLayout& layout : kLayouts) {
        SCOPED_TRACE(layoutName(layout));
        const ExactBuffer image(test::buildMoImage(sampleEntries(), layout));
        const auto catalog = MoCatalog::open(image.view());
        ASSERT_TRUE(catalog);
        for (const char* miss : misses) EXPECT_FALSE(catalog->find(miss)) << miss;
        // A key holding a NUL cannot be an original, not even the plural one's.
        EXPECT_FALSE(catalog->find(std::string_view("file\0files", 10)));
        EXPECT_FALSE(catalog->find(std::string_view("Cancel\0", 7)));
    }
}

TEST(MoCatalog, EmptyCatalogAndCatalogWithoutHeader) {
    for (const MoLayout& layout : kLayouts) {
        SCOPED_TRACE(layoutName(layout));
        const ExactBuffer empty(test::buildMoImage({}, layout));
        const auto none = MoCatalog::open(empty.view());
        ASSERT_TRUE(none);
        EXPECT_FALSE(none->find("Cancel"));
        EXPECT_EQ(none->header(), "");

        const ExactBuffer headless(test::buildMoImage({{"Cancel", "Cancelar"}}, layout));
        const auto catalog = MoCatalog::open(headless.view());
        ASSERT_TRUE(catalog);
        EXPECT_EQ(catalog->header(), "");
        EXPECT_FALSE(declaresUtf8(catalog->header()));
    }
}

// Written by msgfmt from a .po with the first six sample entries: guards the
// hash function and probing against the reference tool, not just our builder.
const char kMsgfmtImage[] =
    "\xde\x12\x04\x95\x00\x00\x00\x00\x06\x00\x00\x00\x1c\x00\x00\x00"
    "\x4c\x00\x00\x00\x0b\x00\x00\x00\x7c\x00\x00\x00\x00\x00\x00\x00"
    "\xa8\x00\x00\x00\x04\x00\x00\x00\xa9\x00\x00\x00\x06\x00\x00\x00"
    "\xae\x00\x00\x00\x25\x00\x00\x00\xb5\x00\x00\x00\x16\x00\x00\x00"
    "\xdb\x00\x00\x00\x0a\x00\x00\x00\xf2\x00\x00\x00\x28\x00\x00\x00"
    "\xfd\x00\x00\x00\x04\x00\x00\x00\x26\x01\x00\x00\x08\x00\x00\x00"
    "\x2b\x01\x00\x00\x2a\x00\x00\x00\x34\x01\x00\x00\x1d\x00\x00\x00"
    "\x5f\x01\x00\x00\x10\x00\x00\x00\x7d\x01\x00\x00\x01\x00\x00\x00"
    "\x00\x00\x00\x00\x03\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00"
    "\x02\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x04\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x26\x59\x65\x73\x00\x43\x61"
    "\x6e\x63\x65\x6c\x00\x44\x6f\x20\x79\x6f\x75\x20\x77\x61\x6e\x74"
    "\x20\x74\x6f\x20\x73\x61\x76\x65\x20\x64\x6f\x63\x75\x6d\x65\x6e"
    "\x74\x20\x63\x68\x61\x6e\x67\x65\x73\x3f\x00\x46\x69\x72\x73\x74"
    "\x20\x6c\x69\x6e\x65\x0a\x53\x65\x63\x6f\x6e\x64\x20\x6c\x69\x6e"
    "\x65\x00\x66\x69\x6c\x65\x00\x66\x69\x6c\x65\x73\x00\x43\x6f\x6e"
    "\x74\x65\x6e\x74\x2d\x54\x79\x70\x65\x3a\x20\x74\x65\x78\x74\x2f"
    "\x70\x6c\x61\x69\x6e\x3b\x20\x63\x68\x61\x72\x73\x65\x74\x3d\x55"
    "\x54\x46\x2d\x38\x0a\x00\x26\x53\xc3\xad\x00\x43\x61\x6e\x63\x65"
    "\x6c\x61\x72\x00\xc2\xbf\x44\x65\x73\x65\x61\x20\x67\x75\x61\x72"
    "\x64\x61\x72\x20\x6c\x6f\x73\x20\x63\x61\x6d\x62\x69\x6f\x73\x20"
    "\x64\x65\x6c\x20\x64\x6f\x63\x75\x6d\x65\x6e\x74\x6f\x3f\x00\x50"
    "\x72\x69\x6d\x65\x72\x61\x20\x6c\xc3\xad\x6e\x65\x61\x0a\x53\x65"
    "\x67\x75\x6e\x64\x61\x20\x6c\xc3\xad\x6e\x65\x61\x00\x66\x69\x63"
    "\x68\x65\x72\x6f\x00\x66\x69\x63\x68\x65\x72\x6f\x73\x00";

TEST(MoCatalog, ReadsCatalogWrittenByMsgfmt) {
    const ExactBuffer image(std::string_view(kMsgfmtImage, sizeof kMsgfmtImage - 1));
    const auto catalog = MoCatalog::open(image.view());
    ASSERT_TRUE(catalog);
    ASSERT_TRUE(catalog->hasHashTable());
    const auto entries = sampleEntries();
    for (std::size_t i = 1; i < 6; ++i) {
        const std::string key = entries[i].original.substr(0, entries[i].original.find('\0'));
        EXPECT_EQ(catalog->find(key), entries[i].translation.substr(0, entries[i].translation.find('\0')))
            << key;
    }
    EXPECT_FALSE(catalog->find("Message 1"));
    EXPECT_TRUE(declaresUtf8(catalog->header()));
}

TEST(MoCatalog, EveryTruncationIsRejected) {
    for (const MoLayout& layout : kLayouts) {
        SCOPED_TRACE(layoutName(layout));
        const std::string full = test::buildMoImage(sampleEntries(), layout);
        for (std::size_t length = 0; length < full.size(); ++length) {
            const ExactBuffer image(std::string_view(full).substr(0, length));
            ASSERT_FALSE(MoCatalog::open(image.view())) << "length " << length;
        }
    }
}

// One damage done to a sound image, in the image's own byte order.
struct Damage {
    const char* name;
    std::function<void(std::string& image, bool bigEndian)> apply;
};

void put(std::string& image, std::size_t at, std::uint32_t v, bool be) { test::putMoWord(image, at, v, be); }
std::uint32_t get(const std::string& image, std::size_t at, bool be) { return test::getMoWord(image, at, be); }
// Descriptor fields of original i (the translation table follows the same shape).
std::size_t originalLength(const std::string& image, std::uint32_t i, bool be) {
    return get(image, test::kMoOriginalsAt, be) + 8 * i;
}
std::size_t translationLength(const std::string& image, std::uint32_t i, bool be) {
    return get(image, test::kMoTranslationsAt, be) + 8 * i;
}

const Damage kDamages[] = {
    {"bad magic", [](std::string& m, bool be) { put(m, 0, 0x950412df, be); }},
    {"unknown major revision", [](std::string& m, bool be) { put(m, 4, 2u << 16, be); }},
    {"absurd count", [](std::string& m, bool be) { put(m, test::kMoCountAt, 0xFFFFFFFF, be); }},
    {"count one too high", [](std::string& m, bool be) { put(m, test::kMoCountAt, get(m, test::kMoCountAt, be) + 1, be); }},
    {"originals past the end", [](std::string& m, bool be) { put(m, test::kMoOriginalsAt, static_cast<std::uint32_t>(m.size()), be); }},
    {"originals offset wraps", [](std::string& m, bool be) { put(m, test::kMoOriginalsAt, 0xFFFFFFF8, be); }},
    {"translations past the end", [](std::string& m, bool be) { put(m, test::kMoTranslationsAt, static_cast<std::uint32_t>(m.size() - 8), be); }},
    {"originals over the header", [](std::string& m, bool be) { put(m, test::kMoOriginalsAt, 0, be); }},
    {"translations over the originals", [](std::string& m, bool be) { put(m, test::kMoTranslationsAt, get(m, test::kMoOriginalsAt, be) + 8, be); }},
    {"hash table over the translations", [](std::string& m, bool be) {
         if (get(m, test::kMoHashSizeAt, be) == 0) put(m, test::kMoHashSizeAt, 3, be);
         put(m, test::kMoHashTableAt, get(m, test::kMoTranslationsAt, be), be); }},
    {"hash table past the end", [](std::string& m, bool be) {
         if (get(m, test::kMoHashSizeAt, be) == 0) put(m, test::kMoHashSizeAt, 3, be);
         put(m, test::kMoHashTableAt, static_cast<std::uint32_t>(m.size() - 4), be); }},
    {"hash table over the header", [](std::string& m, bool be) {
         put(m, test::kMoHashSizeAt, 7, be);
         put(m, test::kMoHashTableAt, 0, be); }},
    {"absurd hash size", [](std::string& m, bool be) { put(m, test::kMoHashSizeAt, 0x40000000, be); }},
    {"hash size 1", [](std::string& m, bool be) { put(m, test::kMoHashSizeAt, 1, be); }},
    {"hash size 2", [](std::string& m, bool be) { put(m, test::kMoHashSizeAt, 2, be); }},
    {"string offset past the end", [](std::string& m, bool be) { put(m, originalLength(m, 3, be) + 4, static_cast<std::uint32_t>(m.size()), be); }},
    {"string length past the end", [](std::string& m, bool be) { put(m, translationLength(m, 2, be), static_cast<std::uint32_t>(m.size()), be); }},
    {"string offset plus length wraps", [](std::string& m, bool be) {
         put(m, originalLength(m, 1, be), 2, be);
         put(m, originalLength(m, 1, be) + 4, 0xFFFFFFFF, be); }},
    {"string not NUL-terminated", [](std::string& m, bool be) {
         const std::size_t d = originalLength(m, 2, be);
         m[get(m, d + 4, be) + get(m, d, be)] = 'x'; }},
    {"translation not NUL-terminated", [](std::string& m, bool be) {
         const std::size_t d = translationLength(m, 4, be);
         m[get(m, d + 4, be) + get(m, d, be)] = 'x'; }},
};

TEST(MoCatalog, DamagedImagesAreRejected) {
    for (const MoLayout& layout : kLayouts) {
        for (const Damage& damage : kDamages) {
            SCOPED_TRACE(layoutName(layout) + ": " + damage.name);
            std::string bytes = test::buildMoImage(sampleEntries(), layout);
            ASSERT_TRUE(MoCatalog::open(bytes));
            damage.apply(bytes, layout.bigEndian);
            const ExactBuffer image(bytes);
            EXPECT_FALSE(MoCatalog::open(image.view()));
        }
    }
}

TEST(MoCatalog, UnsortedOriginalsAreRejectedWithoutHashTable) {
    for (const bool bigEndian : {false, true}) {
        std::string bytes = test::buildMoImage(sampleEntries(), {bigEndian, false});
        // Swap the descriptors of originals 1 and 2.
        const std::size_t a = get(bytes, test::kMoOriginalsAt, bigEndian) + 8;
        std::swap_ranges(bytes.begin() + a, bytes.begin() + a + 8, bytes.begin() + a + 8);
        EXPECT_FALSE(MoCatalog::open(bytes));
    }
}

TEST(MoCatalog, AcceptsRevisionOneAndUnalignedTables) {
    std::string bytes = test::buildMoImage(sampleEntries());
    put(bytes, 4, 1u << 16 | 1, false);
    // Move everything after the header one byte on, as a careless writer might.
    bytes.insert(test::kMoHeaderSize, 1, '\0');
    for (std::size_t at : {test::kMoOriginalsAt, test::kMoTranslationsAt, test::kMoHashTableAt})
        put(bytes, at, get(bytes, at, false) + 1, false);
    const std::uint32_t n = get(bytes, test::kMoCountAt, false);
    for (std::uint32_t i = 0; i < 2 * n; ++i) {
        const std::size_t offsetField = get(bytes, test::kMoOriginalsAt, false) + 8 * i + 4;
        put(bytes, offsetField, get(bytes, offsetField, false) + 1, false);
    }
    const ExactBuffer image(bytes);
    const auto catalog = MoCatalog::open(image.view());
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->find("&Yes"), "&S\xC3\xAD");
    EXPECT_EQ(catalog->find("Message 299"), "Mensaje 299");
}

// Lookups through a hash table that lies must end and must not report a
// wrong entry as a hit.
TEST(MoCatalog, InconsistentHashTableLookupsEnd) {
    using Fill = std::function<std::uint32_t(std::uint32_t slot, std::uint32_t count)>;
    const std::pair<const char*, Fill> fills[] = {
        {"every slot names entry 1", [](std::uint32_t, std::uint32_t) { return 1u; }},
        {"every slot past the entries", [](std::uint32_t, std::uint32_t n) { return n + 1; }},
        {"every slot far past the entries", [](std::uint32_t, std::uint32_t) { return 0xFFFFFFFFu; }},
        {"slots cycle through the entries", [](std::uint32_t s, std::uint32_t n) { return s % n + 1; }},
    };
    for (const bool bigEndian : {false, true}) {
        for (const auto& [name, fill] : fills) {
            SCOPED_TRACE(name);
            std::string bytes = test::buildMoImage(sampleEntries(), {bigEndian, true});
            const std::uint32_t n = get(bytes, test::kMoCountAt, bigEndian);
            const std::uint32_t size = get(bytes, test::kMoHashSizeAt, bigEndian);
            const std::uint32_t table = get(bytes, test::kMoHashTableAt, bigEndian);
            for (std::uint32_t s = 0; s < size; ++s) put(bytes, table + 4 * s, fill(s, n), bigEndian);
            const ExactBuffer image(bytes);
            const auto catalog = MoCatalog::open(image.view());
            ASSERT_TRUE(catalog);
            EXPECT_FALSE(catalog->find("not in the catalog"));
            const auto found = catalog->find("Cancel");
            if (found) EXPECT_EQ(*found, "Cancelar");
        }
    }
}

TEST(MoCatalog, FullHashTableWithShortCycleLookupsEnd) {
    // Four slots and an even step visit only half of them, and no slot is empty.
    std::string bytes(64, '\0');
    const std::uint32_t words[] = {0x950412de, 0, 1, 28, 36, 4, 44,  // header
                                   1, 60, 1, 62,                     // "a" -> "b"
                                   1, 1, 1, 1};                      // hash slots
    for (std::size_t i = 0; i < std::size(words); ++i) put(bytes, 4 * i, words[i], false);
    bytes.replace(60, 4, std::string("a\0b\0", 4));
    const ExactBuffer image(bytes);
    const auto catalog = MoCatalog::open(image.view());
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->find("a"), "b");
    EXPECT_FALSE(catalog->find("c"));
    EXPECT_FALSE(catalog->find("d"));
}

struct CharsetCase {
    const char* header;
    const char* contentType;
    bool utf8;
};

const CharsetCase kCharsetCases[] = {
    {"Content-Type: text/plain; charset=UTF-8\n", "text/plain; charset=UTF-8", true},
    {"content-type: text/plain; charset=utf-8", "text/plain; charset=utf-8", true},
    {"Project-Id-Version: x\nContent-Type:   text/plain; Charset=Utf-8\r\nMIME-Version: 1.0\n",
     "text/plain; Charset=Utf-8", true},
    {"Content-Type: text/plain; charset=ISO-8859-1\n", "text/plain; charset=ISO-8859-1", false},
    {"Content-Type: text/plain; charset=UTF8\n", "text/plain; charset=UTF8", false},
    {"X-Note: charset=UTF-8\nContent-Type: text/plain; charset=CP1252\n", "text/plain; charset=CP1252", false},
    {"Content-Type: text/plain\nX-Note: charset=UTF-8\n", "text/plain", false},
    {"X-Content-Type: text/plain; charset=UTF-8\n", "", false},
    {"Project-Id-Version: x\n", "", false},
    {"", "", false},
};

TEST(MoHeader, ContentTypeAndCharset) {
    for (const CharsetCase& c : kCharsetCases) {
        SCOPED_TRACE(c.header);
        EXPECT_EQ(contentTypeOf(c.header), c.contentType);
        EXPECT_EQ(declaresUtf8(c.header), c.utf8);
    }
}

TEST(MoHeader, ReadFromTheCatalog) {
    for (const CharsetCase& c : kCharsetCases) {
        SCOPED_TRACE(c.header);
        const std::string bytes = test::buildMoImage({{"", c.header}, {"Cancel", "Cancelar"}});
        const auto catalog = MoCatalog::open(bytes);
        ASSERT_TRUE(catalog);
        EXPECT_EQ(declaresUtf8(catalog->header()), c.utf8);
    }
}

}  // namespace
}  // namespace tv
