#pragma once
// Writes .mo catalog images in memory, laid out as msgfmt lays them out, so
// tests, the fuzzer seeds and the benchmark need no files.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "i18n/core/MoCatalog.h"

namespace tv::test {

struct MoEntry {
    std::string original;     // may hold "singular\0plural"
    std::string translation;  // may hold forms separated by NULs
};

struct MoLayout {
    bool bigEndian = false;
    bool hashTable = true;
};

// Where the parts of a built image lie, for tests that damage them.
constexpr std::size_t kMoCountAt = 8;
constexpr std::size_t kMoOriginalsAt = 12;
constexpr std::size_t kMoTranslationsAt = 16;
constexpr std::size_t kMoHashSizeAt = 20;
constexpr std::size_t kMoHashTableAt = 24;
constexpr std::size_t kMoHeaderSize = 28;

inline void putMoWord(std::string& image, std::size_t at, std::uint32_t v, bool bigEndian) {
    for (int k = 0; k < 4; ++k) {
        const int shift = bigEndian ? 24 - 8 * k : 8 * k;
        image[at + k] = static_cast<char>((v >> shift) & 0xFF);
    }
}

inline std::uint32_t getMoWord(const std::string& image, std::size_t at, bool bigEndian) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
        const int shift = bigEndian ? 24 - 8 * k : 8 * k;
        v |= std::uint32_t{static_cast<unsigned char>(image[at + k])} << shift;
    }
    return v;
}

inline std::uint32_t moHashTableSize(std::size_t count) {
    auto prime = [](std::uint32_t n) {
        for (std::uint32_t d = 2; d * d <= n; ++d)
            if (n % d == 0) return false;
        return n > 1;
    };
    std::uint32_t n = std::max<std::uint32_t>(3, static_cast<std::uint32_t>(count * 4 / 3));
    while (!prime(n)) ++n;
    return n;
}

inline std::string buildMoImage(std::vector<MoEntry> entries, MoLayout layout = {}) {
    std::sort(entries.begin(), entries.end(), [](const MoEntry& a, const MoEntry& b) {
        return a.original < b.original;
    });
    const auto n = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t hashSize = layout.hashTable ? moHashTableSize(n) : 0;
    const std::uint32_t originals = kMoHeaderSize;
    const std::uint32_t translations = originals + 8 * n;
    const std::uint32_t hashTable = translations + 8 * n;
    std::string image(hashTable + 4 * hashSize, '\0');
    auto put = [&](std::size_t at, std::uint32_t v) { putMoWord(image, at, v, layout.bigEndian); };
    put(0, 0x950412de);
    put(4, 0);
    put(kMoCountAt, n);
    put(kMoOriginalsAt, originals);
    put(kMoTranslationsAt, translations);
    put(kMoHashSizeAt, hashSize);
    put(kMoHashTableAt, hashTable);
    auto addString = [&](std::size_t descriptor, const std::string& s) {
        put(descriptor, static_cast<std::uint32_t>(s.size()));
        put(descriptor + 4, static_cast<std::uint32_t>(image.size()));
        image += s;
        image += '\0';
    };
    for (std::uint32_t i = 0; i < n; ++i) addString(originals + 8 * i, entries[i].original);
    for (std::uint32_t i = 0; i < n; ++i) addString(translations + 8 * i, entries[i].translation);
    for (std::uint32_t i = 0; hashSize != 0 && i < n; ++i) {
        const std::uint32_t h = moHash(entries[i].original);
        std::uint32_t slot = h % hashSize;
        const std::uint32_t step = 1 + h % (hashSize - 2);
        while (getMoWord(image, hashTable + 4 * slot, layout.bigEndian) != 0)
            slot = (slot + step) % hashSize;
        put(hashTable + 4 * slot, i + 1);
    }
    return image;
}

}  // namespace tv::test
