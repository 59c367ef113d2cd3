#include "settings/core/Settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace tv;

namespace {
struct FakeStore : SettingsStore {
    std::map<std::wstring, RawValue> values;
    std::vector<std::wstring> written;
    std::wstring refuse;  // a value name whose write fails
    RawValue read(std::wstring_view name) override {
        auto it = values.find(std::wstring(name));
        return it == values.end() ? RawValue{} : it->second;
    }
    void write(std::wstring_view name, std::wstring_view text) override {
        if (name == refuse) throw SettingsError(failedToSetText(name));
        written.emplace_back(name);
        values[std::wstring(name)] = RawValue{RawValue::Type::Text, std::wstring(text)};
    }
    void set(const wchar_t* n, const wchar_t* t) { values[n] = RawValue{RawValue::Type::Text, t}; }
};

struct Recorder {
    std::vector<std::pair<int, int>> area;
    std::vector<MissingMedia> missing;
    std::vector<int> minuteCounter;
    std::vector<std::int32_t> colours;
    std::vector<bool> clickSwitch;
    LoadHooks hooks(bool filesExist = true) {
        LoadHooks h;
        h.screenWidth = 1280;
        h.programFolder = L"C:\\Prog\\";
        h.fileExists = [filesExist](const std::wstring&) { return filesExist; };
        h.setTextAreaField = [this](int f, int v) { area.emplace_back(f, v); };
        h.showMissing = [this](MissingMedia m) { missing.push_back(m); };
        h.setMinuteCounter = [this](int m) { minuteCounter.push_back(m); };
        h.setWorkspaceColour = [this](std::int32_t c) { colours.push_back(c); };
        h.keyboardSoundChanged = [this](bool b) { clickSwitch.push_back(b); };
        return h;
    }
};
}  // namespace

TEST(SettingsCodec, ParseIntTable) {
    struct Case {
        const wchar_t* text;
        std::optional<std::int32_t> want;
    } cases[] = {
        {L"0", 0},          {L"42", 42},
        {L"-1", -1},        {L"+7", 7},
        {L"536870912", kColorAutomatic},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999", std::nullopt},
        {L"", std::nullopt},  {L"-", std::nullopt},
        {L"yes", std::nullopt}, {L"12abc", std::nullopt},
        {L"1.5", std::nullopt}, {L" 12", 12},
        {L"12 ", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseInt(c.text), c.want) << static_cast<int>(std::wstring(c.text).size());
}

TEST(SettingsCodec, EncodeRoundTrip) {
    for (std::int32_t v : {0, 1, -1, 16777215, kColorAutomatic, -2147483647 - 1, 2147483647})
        EXPECT_EQ(parseInt(encodeInt(v)), v);
    EXPECT_EQ(encodeBool(true), L"1");
    EXPECT_EQ(encodeBool(false), L"0");
}

TEST(SettingsCodec, RegistryBytesStopAtZeroAndNeverOverrun) {
    const unsigned char abc[] = {'a', 0, 'b', 0, 0, 0, 'c', 0};
    EXPECT_EQ(textFromUtf16Bytes(abc, sizeof abc), L"ab");
    const unsigned char unterminated[] = {'x', 0, 'y', 0, 'z'};  // odd length, no terminator
    EXPECT_EQ(textFromUtf16Bytes(unterminated, sizeof unterminated), L"xy");
    EXPECT_EQ(textFromUtf16Bytes(nullptr, 0), L"");
}

TEST(SettingsStoreOps, LoadRules) {
    FakeStore s;
    s.set(L"two", L"2");
    s.set(L"minus", L"-1");
    s.set(L"empty", L"");
    s.set(L"word", L"yes");
    s.set(L"zero", L"0");
    s.set(L"text", L"hello");
    struct Case {
        const wchar_t* name;
        bool def, want;
    } bools[] = {{L"two", false, true},   {L"minus", false, true}, {L"empty", true, true},
                 {L"empty", false, false}, {L"word", true, true},  {L"word", false, false},
                 {L"zero", true, false},   {L"absent", true, true}};
    for (const auto& c : bools) EXPECT_EQ(LoadSettingBool(s, c.name, c.def), c.want);
    EXPECT_EQ(LoadSettingInteger(s, L"word", 33), 33);
    EXPECT_EQ(LoadSettingStr(s, L"text", L"d"), L"hello");
    EXPECT_EQ(LoadSettingStr(s, L"absent", L"d"), L"d");
    EXPECT_EQ(LoadSettingStr(s, L"empty", L"d"), L"");
}

TEST(SettingsStoreOps, WrongTypeRaisesNamedError) {
    FakeStore s;
    s.values[L"sonido"] = RawValue{RawValue::Type::Other, L""};
    try {
        LoadSettingBool(s, L"sonido", true);
        FAIL() << "no error";
    } catch (const SettingsError& e) {
        EXPECT_EQ(e.text(), L"Invalid data type for 'sonido'");
    }
}

TEST(SettingsDefaults, TextAreaFromScreenWidth) {
    struct Case {
        int w;
        TextArea want;
    } cases[] = {{1024, {102, 50, 819, 506}}, {1280, {128, 50, 1024, 632}},
                 {1366, {137, 50, 1092, 674}}, {1920, {192, 50, 1536, 949}}};
    for (const auto& c : cases) {
        TextArea a = defaultTextArea(c.w);
        EXPECT_EQ(a.left, c.want.left) << c.w;
        EXPECT_EQ(a.top, c.want.top) << c.w;
        EXPECT_EQ(a.width, c.want.width) << c.w;
        EXPECT_EQ(a.height, c.want.height) << c.w;
    }
}

TEST(SettingsLoad, EmptyStoreGivesDefaultsAndChecksMedia) {
    FakeStore s;
    LiveSettings l;
    Recorder r;
    loadSettings(s, l, r.hooks(true));
    EXPECT_EQ(r.area, (std::vector<std::pair<int, int>>{{0, 50}, {1, 128}, {2, 1024}, {3, 632}}));
    EXPECT_FALSE(l.confTransparente);
    EXPECT_TRUE(l.confImagenFondo);
    EXPECT_TRUE(l.confSonido);
    EXPECT_TRUE(l.keyboardSound);
    EXPECT_EQ(l.colorFondo, 16777215);
    EXPECT_EQ(r.colours, std::vector<std::int32_t>{16777215});
    EXPECT_EQ(l.iMinutos.value, 60);
    EXPECT_EQ(l.iSegundos.value, 240);
    EXPECT_EQ(l.ficheroSonidoAmbiente, L"C:\\Prog\\media\\sonido.mp3");
    EXPECT_EQ(l.ficheroSonidoClick, L"C:\\Prog\\media\\click.wav");
    EXPECT_EQ(l.ficheroImagenFondo, L"C:\\Prog\\media\\fondo.jpg");
    EXPECT_EQ(l.ficheroTemporal, L"C:\\Prog\\tmp\\tolvane.tmp");
    EXPECT_TRUE(l.cambioFicheroSonido);
    EXPECT_EQ(l.languageIndex, 1);
    EXPECT_TRUE(r.missing.empty());
    EXPECT_TRUE(s.written.empty()) << "loading never writes";
}

TEST(SettingsLoad, MissingMediaSwitchesOptionsOffInOrder) {
    FakeStore s;
    s.set(L"sonido", L"0");  // off already: the message still comes
    LiveSettings l;
    Recorder r;
    loadSettings(s, l, r.hooks(false));
    EXPECT_EQ(r.missing, (std::vector<MissingMedia>{MissingMedia::AmbientSound, MissingMedia::KeyboardSound,
                                                    MissingMedia::BackgroundImage}));
    EXPECT_FALSE(l.confSonido);
    EXPECT_FALSE(l.keyboardSound);
    EXPECT_FALSE(l.confImagenFondo);
    EXPECT_EQ(r.clickSwitch, (std::vector<bool>{true, false}));
}

TEST(SettingsLoad, EmptyPathCountsAsMissing) {
    FakeStore s;
    s.set(L"fichero_fondo", L"");
    LiveSettings l;
    Recorder r;
    loadSettings(s, l, r.hooks(true));
    EXPECT_EQ(r.missing, std::vector<MissingMedia>{MissingMedia::BackgroundImage});
    EXPECT_FALSE(l.confImagenFondo);
}

TEST(SettingsLoad, SlidersKeepPreviousValueWhenOutOfRange) {
    struct Case {
        const wchar_t *minutos, *principal;
        int counter, slider, principalValue;
    } cases[] = {{L"90", L"100", 90, 90, 100}, {L"500", L"300", 500, 0, 200}, {L"-5", L"-1", -5, 0, 200},
                 {L"180", L"255", 180, 180, 255}};
    for (const auto& c : cases) {
        FakeStore s;
        s.set(L"minutos", c.minutos);
        s.set(L"transparencia_principal", c.principal);
        LiveSettings l;
        Recorder r;
        loadSettings(s, l, r.hooks());
        EXPECT_EQ(r.minuteCounter, std::vector<int>{c.counter});
        EXPECT_EQ(l.iMinutos.value, c.slider);
        EXPECT_EQ(l.transparenciaPrincipal.value, c.principalValue);
    }
}

TEST(SettingsLoad, LanguageSelection) {
    struct Case {
        const wchar_t* stored;  // nullptr: missing
        int index;
        const wchar_t* written;
    } cases[] = {{L"es", 2, L"es"}, {L"", 0, L""}, {nullptr, 1, L"en"}, {L"fr", -1, L"fr"}, {L"ES", -1, L"ES"}};
    for (const auto& c : cases) {
        FakeStore s;
        if (c.stored) s.set(L"language", c.stored);
        LiveSettings l;
        Recorder r;
        loadSettings(s, l, r.hooks());
        EXPECT_EQ(l.languageIndex, c.index);
        EXPECT_EQ(l.languageCode(), c.written);
    }
}

TEST(SettingsLoad, WrongTypeStopsTheLoadPartWay) {
    FakeStore s;
    s.set(L"colorFondo", L"255");
    s.values[L"minutos"] = RawValue{RawValue::Type::Other, L""};
    LiveSettings l;
    Recorder r;
    EXPECT_THROW(loadSettings(s, l, r.hooks()), SettingsError);
    EXPECT_EQ(l.colorFondo, 255) << "values before the bad one are applied";
    EXPECT_TRUE(r.minuteCounter.empty());
    EXPECT_TRUE(l.ficheroTemporal.empty()) << "values after it are not";
}

TEST(SettingsSave, WritesTheWholeTableInOrderAndRoundTrips) {
    LiveSettings l;
    l.confTransparente = true;
    l.colorFondo = kColorAutomatic;
    l.colorTexto = 255;
    l.iMinutos.take(45);
    l.ficheroTemporal = L"D:\\t\\x.rtf";
    l.languageIndex = 2;
    FakeStore s;
    saveSettings(s, l, TextArea{10, 20, 300, 400}, L"1.2.3.4");
    const std::vector<std::wstring> order = {
        L"transparencia", L"fondo", L"sonido", L"sonido_teclado", L"colorFondo", L"minutos", L"segundos",
        L"fichero_sonido", L"fichero_sonido_click", L"fichero_fondo", L"fichero_temporal",
        L"transparencia_principal", L"transparencia_area_texto", L"colorTexto", L"colorAreaTexto",
        L"area_texto.top", L"area_texto.left", L"area_texto.width", L"area_texto.height", L"version", L"language"};
    EXPECT_EQ(s.written, order);
    EXPECT_EQ(s.values[L"colorFondo"].text, L"536870912");
    EXPECT_EQ(s.values[L"area_texto.top"].text, L"20");
    EXPECT_EQ(s.values[L"version"].text, L"1.2.3.4");

    LiveSettings back;
    Recorder r;
    loadSettings(s, back, r.hooks());
    EXPECT_TRUE(back.confTransparente);
    EXPECT_EQ(back.colorFondo, kColorAutomatic);
    EXPECT_EQ(back.colorTexto, 255);
    EXPECT_EQ(back.iMinutos.value, 45);
    EXPECT_EQ(back.ficheroTemporal, L"D:\\t\\x.rtf");
    EXPECT_EQ(back.languageIndex, 2);
    EXPECT_EQ(r.area, (std::vector<std::pair<int, int>>{{0, 20}, {1, 10}, {2, 300}, {3, 400}}));
}

TEST(SettingsSave, RefusedWriteStopsTheSave) {
    FakeStore s;
    s.refuse = L"minutos";
    try {
        saveSettings(s, LiveSettings{}, TextArea{}, L"1.0.0.0");
        FAIL();
    } catch (const SettingsError& e) {
        EXPECT_EQ(e.text(), L"Failed to set data for 'minutos'");
    }
    EXPECT_EQ(s.written.size(), 5u);
    EXPECT_EQ(s.values.count(L"segundos"), 0u);
}

TEST(SettingsVersion, JoinsFourHalves) {
    EXPECT_EQ(versionText(0x00010000, 0x0001000A), L"1.0.1.10");
    EXPECT_EQ(versionText(0xFFFF0002, 0x00030004), L"65535.2.3.4");
}
