#pragma once
// Reader for GNU gettext .mo catalogs over a read-only byte image it does not
// own (on Windows, a file mapping). The whole image is checked when it is
// opened, so lookups never read outside it however the file was damaged.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tv {

// The .mo hash function (hashpjw over the bytes up to the first NUL, 32-bit).
std::uint32_t moHash(std::string_view text);

class MoCatalog {
public:
    // Empty when the image is not a valid .mo file; callers then treat the
    // catalog as absent. The image must outlive the catalog and every view
    // it returns.
    static std::optional<MoCatalog> open(std::string_view image);

    // The translation of the exact original bytes (first form only, plurals
    // are not used), or empty when the catalog does not hold the original.
    std::optional<std::string_view> find(std::string_view original) const;

    // The header entry: the translation of "", empty when there is none.
    std::string_view header() const;

    std::uint32_t count() const { return count_; }
    bool hasHashTable() const { return hashSize_ != 0; }
    // Entry i (i < count()), in file order: the original up to its first NUL
    // and the first form of its translation.
    std::string_view original(std::uint32_t i) const;
    std::string_view translation(std::uint32_t i) const;

private:
    MoCatalog() = default;
    std::uint32_t word(std::uint64_t offset) const;
    std::string_view stringAt(std::uint32_t table, std::uint32_t i) const;
    bool validStringAt(std::uint32_t table, std::uint32_t i) const;
    std::optional<std::uint32_t> hashFind(std::string_view original) const;
    std::optional<std::uint32_t> sortedFind(std::string_view original) const;

    const unsigned char* data_ = nullptr;
    std::uint64_t size_ = 0;
    bool bigEndian_ = false;
    std::uint32_t count_ = 0;
    std::uint32_t originals_ = 0;
    std::uint32_t translations_ = 0;
    std::uint32_t hashSize_ = 0;
    std::uint32_t hashTable_ = 0;
};

// The value of the header's "Content-Type" line (without leading blanks and
// the line end), empty when the header has no such line.
std::string_view contentTypeOf(std::string_view header);

// Whether the upper-cased Content-Type value contains "CHARSET=UTF-8".
bool declaresUtf8(std::string_view header);

}  // namespace tv
