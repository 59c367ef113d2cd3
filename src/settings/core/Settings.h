#pragma once
// The settings table, its text codec and the whole-table load and save.
// Portable: the registry is reached through SettingsStore, so the rules can be
// tested without Windows.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "widgets/core/ColourPalette.h"  // kColorAutomatic
#include "widgets/core/Failure.h"

namespace tv {

inline constexpr const wchar_t* kSettingsKey = L"Software\\Virelo\\Tolvane";

// Raised for registry failures the settings code does not handle itself; it
// carries the user-facing text.
class SettingsError : public Failure {
public:
    explicit SettingsError(std::wstring text);
};

std::wstring invalidDataTypeText(std::wstring_view name);  // "Invalid data type for '%s'"
std::wstring failedToSetText(std::wstring_view name);      // "Failed to set data for '%s'"

// What the store found under one value name.
struct RawValue {
    enum class Type { Missing, Text, Other };
    Type type = Type::Missing;
    std::wstring text;  // only for Text: up to the first zero character
};

// The store: one flat key of named text values.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual RawValue read(std::wstring_view name) = 0;
    // Throws SettingsError(failedToSetText(name)) when the write is refused.
    virtual void write(std::wstring_view name, std::wstring_view text) = 0;
};

// Codec.
std::wstring encodeInt(std::int32_t v);
std::wstring encodeBool(bool v);
std::optional<std::int32_t> parseInt(std::wstring_view text);
// Registry data bytes (UTF-16LE) to text, stopping at the first zero character;
// a trailing odd byte is ignored, data need not be terminated.
std::wstring textFromUtf16Bytes(const unsigned char* data, std::size_t bytes);

// The six value operations. Other registry types throw invalidDataTypeText.
std::wstring LoadSettingStr(SettingsStore& s, std::wstring_view item, std::wstring_view def);
std::int32_t LoadSettingInteger(SettingsStore& s, std::wstring_view item, std::int32_t def);
bool LoadSettingBool(SettingsStore& s, std::wstring_view item, bool def);
void SaveSettingStr(SettingsStore& s, std::wstring_view item, std::wstring_view value);
void SaveSettingInteger(SettingsStore& s, std::wstring_view item, std::int32_t value);
void SaveSettingBool(SettingsStore& s, std::wstring_view item, bool value);

struct TextArea {
    int left = 0, top = 0, width = 0, height = 0;
};
TextArea defaultTextArea(int screenWidth);

// Language codes indexed like the configuration window's language list.
inline constexpr const wchar_t* kLangCode[3] = {L"", L"en", L"es"};
int languageIndex(std::wstring_view code);  // -1 when none matches

// A slider takes a value only when it lies within [0, max].
struct Slider {
    int max = 0;
    int value = 0;
    void take(std::int32_t v) {
        if (v >= 0 && v <= max) value = v;
    }
};

// The live settings. In the running program these are what the configuration
// window's controls hold.
struct LiveSettings {
    bool confTransparente = false;
    bool confImagenFondo = false;
    bool confSonido = false;
    bool keyboardSound = false;  // cKeyboardSound
    std::int32_t colorFondo = 16777215;
    std::int32_t colorTexto = 0;
    std::int32_t colorAreaTexto = 16777215;
    Slider iMinutos{180, 0};
    Slider iSegundos{600, 0};
    Slider transparenciaAreaTexto{255, 200};
    Slider transparenciaPrincipal{255, 200};
    std::wstring ficheroSonidoAmbiente;
    std::wstring ficheroSonidoClick;
    std::wstring ficheroImagenFondo;
    std::wstring ficheroTemporal;
    int languageIndex = -1;
    // A stored code that is none of ours is written back unchanged, so an
    // unknown value is not lost by a save.
    std::wstring unknownLanguage;
    bool cambioFicheroSonido = false;

    void setFicheroSonidoAmbiente(std::wstring v) {
        if (v != ficheroSonidoAmbiente) cambioFicheroSonido = true;
        ficheroSonidoAmbiente = std::move(v);
    }
    std::wstring languageCode() const;
};

enum class MissingMedia { AmbientSound, KeyboardSound, BackgroundImage };
std::wstring missingMediaText(MissingMedia m);  // the English resource text

// What the load does besides filling LiveSettings, in the order it happens.
struct LoadHooks {
    int screenWidth = 1024;
    std::wstring programFolder;  // ends in a backslash
    std::function<bool(const std::wstring&)> fileExists;
    std::function<void(int field, int value)> setTextAreaField;  // 0 top, 1 left, 2 width, 3 height
    std::function<void(bool)> keyboardSoundChanged;  // the key-click switch follows
    std::function<void(std::int32_t)> setWorkspaceColour;
    std::function<void(std::int32_t)> setMinuteCounter;
    std::function<void(MissingMedia)> showMissing;
};

// leeConfiguracion: may throw SettingsError (wrong value type) part-way.
void loadSettings(SettingsStore& store, LiveSettings& live, const LoadHooks& hooks);
// escribeConfiguracion: the 21 values in their order; a refused write stops it.
void saveSettings(SettingsStore& store, const LiveSettings& live, const TextArea& area,
                  std::wstring_view version);

std::wstring versionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS);

}  // namespace tv
