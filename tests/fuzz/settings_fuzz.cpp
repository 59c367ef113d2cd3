// libFuzzer target for the settings read from the registry: any data of any
// value, in any type, loads or fails with the settings' own error, and the
// numbers read agree with the text they came from.
#include "FuzzCheck.h"
#include "settings/core/Settings.h"

#include <map>
#include <string>

namespace {

// Values cut from the input: each one a type byte, a length byte and that
// many bytes of registry data (UTF-16LE), in the order the load asks for them.
class FuzzStore : public tv::SettingsStore {
public:
    FuzzStore(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    tv::RawValue read(std::wstring_view) override {
        if (p_ + 2 > end_) return {};
        const int type = *p_++ % 3;
        std::size_t n = *p_++;
        if (n > static_cast<std::size_t>(end_ - p_)) n = static_cast<std::size_t>(end_ - p_);
        // Registry data is exactly as long as it is: a copy of n bytes catches a read past it.
        const std::basic_string<unsigned char> raw(p_, n);
        p_ += n;
        if (type == 0) return {};
        if (type == 2) return {tv::RawValue::Type::Other, {}};
        return {tv::RawValue::Type::Text, tv::textFromUtf16Bytes(raw.data(), raw.size())};
    }
    void write(std::wstring_view name, std::wstring_view text) override { written[std::wstring(name)] = text; }
    std::map<std::wstring, std::wstring> written;

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// A store of what a save wrote, read back as text values.
class SavedStore : public tv::SettingsStore {
public:
    explicit SavedStore(std::map<std::wstring, std::wstring> values) : values_(std::move(values)) {}
    tv::RawValue read(std::wstring_view name) override {
        const auto it = values_.find(std::wstring(name));
        if (it == values_.end()) return {};
        return {tv::RawValue::Type::Text, it->second};
    }
    void write(std::wstring_view name, std::wstring_view text) override { written[std::wstring(name)] = text; }
    std::map<std::wstring, std::wstring> written;

private:
    std::map<std::wstring, std::wstring> values_;
};

tv::LoadHooks hooksInto(tv::TextArea& area) {
    tv::LoadHooks hooks;
    hooks.screenWidth = 1280;
    hooks.programFolder = L"C:\\Tolvane\\";
    hooks.fileExists = [](const std::wstring& path) { return path.size() % 2 == 0; };
    hooks.setTextAreaField = [&area](int field, int value) {
        (field == 0 ? area.top : field == 1 ? area.left : field == 2 ? area.width : area.height) = value;
    };
    return hooks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The integer codec: whatever it accepts, it writes back as the same number.
    const std::wstring whole = tv::textFromUtf16Bytes(data, size);
    tv::fuzz::check(whole.size() <= size / 2);
    if (const auto v = tv::parseInt(whole)) tv::fuzz::check(tv::parseInt(tv::encodeInt(*v)) == v);

    FuzzStore store(data, size);
    tv::LiveSettings live;
    tv::TextArea area;
    try {
        tv::loadSettings(store, live, hooksInto(area));
    } catch (const tv::SettingsError&) {
        return 0;  // a value of another type: the load says so and stops
    }
    // What was loaded saves, and loads back as the same settings: a second save writes the same.
    tv::saveSettings(store, live, area, L"1.0");
    SavedStore again(store.written);
    tv::LiveSettings reread;
    tv::TextArea rereadArea;
    tv::loadSettings(again, reread, hooksInto(rereadArea));
    tv::saveSettings(again, reread, rereadArea, L"1.0");
    tv::fuzz::check(again.written == store.written);
    return 0;
}
