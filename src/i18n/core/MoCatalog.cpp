#include "i18n/core/MoCatalog.h"

#include <string>

namespace tv {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint64_t kHeaderSize = 28;  // magic, revision, five table words
constexpr std::uint32_t kDescriptorSize = 8;  // length, offset

struct Range {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    bool empty() const { return begin == end; }
};

bool overlap(Range a, Range b) {
    return !a.empty() && !b.empty() && a.begin < b.end && b.begin < a.end;
}

// Up to the first NUL: a plural original or translation holds its forms
// separated by NULs, and only the first one is a key or a result.
std::string_view firstForm(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (upper(s[i]) != upper(prefix[i])) return false;
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::uint32_t moHash(std::string_view text) {
    std::uint32_t h = 0;
    for (char c : firstForm(text)) {
        h = (h << 4) + static_cast<unsigned char>(c);
        const std::uint32_t g = h & 0xf0000000u;
        if (g != 0) {
            h ^= g >> 24;
            h ^= g;
        }
    }
    return h;
}

std::uint32_t MoCatalog::word(std::uint64_t offset) const {
    const unsigned char* p = data_ + offset;
    if (bigEndian_)
        return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

bool MoCatalog::validStringAt(std::uint32_t table, std::uint32_t i) const {
    const std::uint64_t at = table + std::uint64_t{i} * kDescriptorSize;
    const std::uint64_t length = word(at);
    const std::uint64_t offset = word(at + 4);
    // The terminating NUL must lie inside the image too.
    return offset + length < size_ && data_[offset + length] == 0;
}

std::string_view MoCatalog::stringAt(std::uint32_t table, std::uint32_t i) const {
    const std::uint64_t at = table + std::uint64_t{i} * kDescriptorSize;
    const char* p = reinterpret_cast<const char*>(data_) + word(at + 4);
    return firstForm(std::string_view(p, word(at)));
}

std::string_view MoCatalog::original(std::uint32_t i) const { return stringAt(originals_, i); }
std::string_view MoCatalog::translation(std::uint32_t i) const { return stringAt(translations_, i); }

std::optional<MoCatalog> MoCatalog::open(std::string_view image) {
    if (image.size() < kHeaderSize) return std::nullopt;
    MoCatalog c;
    c.data_ = reinterpret_cast<const unsigned char*>(image.data());
    c.size_ = image.size();
    if (c.word(0) != kMagic) {
        c.bigEndian_ = true;
        if (c.word(0) != kMagic) return std::nullopt;
    }
    // Major revisions 0 and 1 share the tables read here; a later one may not.
    if ((c.word(4) >> 16) > 1) return std::nullopt;
    c.count_ = c.word(8);
    c.originals_ = c.word(12);
    c.translations_ = c.word(16);
    c.hashSize_ = c.word(20);
    c.hashTable_ = c.word(24);
    // Probing steps by 1 + hash % (size - 2): a table of 1 or 2 slots is unusable.
    if (c.hashSize_ == 1 || c.hashSize_ == 2) return std::nullopt;

    const std::uint64_t tableBytes = std::uint64_t{c.count_} * kDescriptorSize;
    const Range header{0, kHeaderSize};
    const Range originals{c.originals_, c.originals_ + tableBytes};
    const Range translations{c.translations_, c.translations_ + tableBytes};
    const Range hash{c.hashTable_, c.hashTable_ + std::uint64_t{c.hashSize_} * 4};
    for (const Range& r : {originals, translations, hash})
        if (r.end > c.size_ || overlap(r, header)) return std::nullopt;
    if (overlap(originals, translations) || overlap(originals, hash) || overlap(translations, hash))
        return std::nullopt;

    for (std::uint32_t i = 0; i < c.count_; ++i)
        if (!c.validStringAt(c.originals_, i) || !c.validStringAt(c.translations_, i))
            return std::nullopt;
    // Without a hash table lookups rely on the originals being sorted.
    if (c.hashSize_ == 0)
        for (std::uint32_t i = 1; i < c.count_; ++i)
            if (c.original(i) < c.original(i - 1)) return std::nullopt;
    return c;
}

std::optional<std::uint32_t> MoCatalog::hashFind(std::string_view key) const {
    const std::uint32_t h = moHash(key);
    std::uint32_t slot = h % hashSize_;
    const std::uint32_t step = 1 + h % (hashSize_ - 2);
    // A damaged table may have no empty slot on this key's path: visiting as
    // many slots as the table has is enough for any sound one.
    for (std::uint32_t probes = 0; probes < hashSize_; ++probes) {
        const std::uint32_t entry = word(hashTable_ + std::uint64_t{slot} * 4);
        if (entry == 0) return std::nullopt;
        // Entries past count() belong to revision-1 extra strings, unused here.
        if (entry <= count_ && original(entry - 1) == key) return entry - 1;
        slot = slot >= hashSize_ - step ? slot - (hashSize_ - step) : slot + step;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> MoCatalog::sortedFind(std::string_view key) const {
    std::uint32_t low = 0;
    std::uint32_t high = count_;
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        const std::string_view s = original(mid);
        if (s == key) return mid;
        if (s < key) low = mid + 1;
        else high = mid;
    }
    return std::nullopt;
}

std::optional<std::string_view> MoCatalog::find(std::string_view original) const {
    // Keys end at their first NUL, so a text holding one matches nothing.
    if (original.find('\0') != std::string_view::npos) return std::nullopt;
    const auto i = hashSize_ != 0 ? hashFind(original) : sortedFind(original);
    if (!i) return std::nullopt;
    return translation(*i);
}

std::string_view MoCatalog::header() const {
    return find("").value_or(std::string_view{});
}

std::string_view contentTypeOf(std::string_view header) {
    constexpr std::string_view kField = "Content-Type:";
    while (!header.empty()) {
        const std::size_t end = header.find('\n');
        const std::string_view line = header.substr(0, end);
        if (startsWithNoCase(line, kField)) return trim(line.substr(kField.size()));
        if (end == std::string_view::npos) break;
        header.remove_prefix(end + 1);
    }
    return {};
}

bool declaresUtf8(std::string_view header) {
    std::string value(contentTypeOf(header));
    for (char& c : value) c = upper(c);
    return value.find("CHARSET=UTF-8") != std::string::npos;
}

}  // namespace tv
