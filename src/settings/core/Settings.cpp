#include "settings/core/Settings.h"

#include "widgets/core/Translatable.h"

#include <cmath>
#include <cwctype>
#include <limits>

namespace tv {

namespace {
std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c < 128 ? static_cast<char>(c) : '?');
    return s;
}
std::wstring quoted(std::wstring_view pre, std::wstring_view name) {
    std::wstring t(pre);
    t += L"'";
    t += name;
    t += L"'";
    return t;
}
}  // namespace

SettingsError::SettingsError(std::wstring text) : Failure(text, narrow(text)) {}

std::wstring invalidDataTypeText(std::wstring_view name) { return quoted(L"Invalid data type for ", name); }
std::wstring failedToSetText(std::wstring_view name) { return quoted(L"Failed to set data for ", name); }

std::wstring encodeInt(std::int32_t v) { return std::to_wstring(v); }
std::wstring encodeBool(bool v) { return v ? L"1" : L"0"; }

std::optional<std::int32_t> parseInt(std::wstring_view t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == L' ') ++i;  // leading blanks are tolerated, as in hand-edited values
    bool neg = false;
    if (i < t.size() && (t[i] == L'-' || t[i] == L'+')) neg = t[i++] == L'-';
    if (i == t.size()) return std::nullopt;
    std::int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < L'0' || t[i] > L'9') return std::nullopt;
        v = v * 10 + (t[i] - L'0');
        if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (neg) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

std::wstring textFromUtf16Bytes(const unsigned char* data, std::size_t bytes) {
    std::wstring out;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == 0) break;
        out.push_back(c);
    }
    return out;
}

static std::optional<std::wstring> readText(SettingsStore& s, std::wstring_view item) {
    RawValue v = s.read(item);
    switch (v.type) {
    case RawValue::Type::Missing: return std::nullopt;
    case RawValue::Type::Text: return std::move(v.text);
    case RawValue::Type::Other: break;
    }
    throw SettingsError(invalidDataTypeText(item));
}

std::wstring LoadSettingStr(SettingsStore& s, std::wstring_view item, std::wstring_view def) {
    auto t = readText(s, item);
    return t ? *t : std::wstring(def);
}

std::int32_t LoadSettingInteger(SettingsStore& s, std::wstring_view item, std::int32_t def) {
    auto t = readText(s, item);
    if (!t) return def;
    return parseInt(*t).value_or(def);
}

bool LoadSettingBool(SettingsStore& s, std::wstring_view item, bool def) {
    return LoadSettingInteger(s, item, def ? 1 : 0) != 0;
}

void SaveSettingStr(SettingsStore& s, std::wstring_view item, std::wstring_view value) { s.write(item, value); }
void SaveSettingInteger(SettingsStore& s, std::wstring_view item, std::int32_t value) {
    s.write(item, encodeInt(value));
}
void SaveSettingBool(SettingsStore& s, std::wstring_view item, bool value) { s.write(item, encodeBool(value)); }

TextArea defaultTextArea(int w) {
    TextArea a;
    a.width = static_cast<int>(std::trunc(0.8 * w));
    a.left = static_cast<int>(std::trunc((w - a.width) / 2.0));
    a.height = static_cast<int>(std::trunc(a.width / 1.6180339887));
    a.top = 50;
    return a;
}

int languageIndex(std::wstring_view code) {
    for (int i = 0; i < 3; ++i)
        if (code == kLangCode[i]) return i;
    return -1;
}

std::wstring LiveSettings::languageCode() const {
    if (languageIndex >= 0 && languageIndex < 3) return kLangCode[languageIndex];
    return unknownLanguage;
}

std::wstring missingMediaText(MissingMedia m) {
    switch (m) {
    case MissingMedia::AmbientSound:
        return N_(L"I can't find ambient sound file, ambient sound option has been disabled. Please check your "
                  L"configuration.");
    case MissingMedia::KeyboardSound:
        return N_(L"I can't find audible keyboard sound file, audible keyboard option has been disabled. Please "
                  L"check your configuration.");
    case MissingMedia::BackgroundImage:
        break;
    }
    return N_(L"I can't find background image file, backgraund image option has been disabled. Please check your "
              L"configuration.");
}

void loadSettings(SettingsStore& st, LiveSettings& live, const LoadHooks& h) {
    const std::wstring& dir = h.programFolder;
    const TextArea def = defaultTextArea(h.screenWidth);
    const std::pair<const wchar_t*, int> area[4] = {{L"area_texto.top", def.top},
                                                    {L"area_texto.left", def.left},
                                                    {L"area_texto.width", def.width},
                                                    {L"area_texto.height", def.height}};
    for (int i = 0; i < 4; ++i) {
        int v = LoadSettingInteger(st, area[i].first, area[i].second);
        if (h.setTextAreaField) h.setTextAreaField(i, v);
    }

    live.confTransparente = LoadSettingBool(st, L"transparencia", false);
    live.confImagenFondo = LoadSettingBool(st, L"fondo", true);
    live.confSonido = LoadSettingBool(st, L"sonido", true);
    live.keyboardSound = LoadSettingBool(st, L"sonido_teclado", true);
    if (h.keyboardSoundChanged) h.keyboardSoundChanged(live.keyboardSound);

    live.colorFondo = LoadSettingInteger(st, L"colorFondo", 16777215);
    if (h.setWorkspaceColour) h.setWorkspaceColour(live.colorFondo);
    live.colorTexto = LoadSettingInteger(st, L"colorTexto", 0);
    live.colorAreaTexto = LoadSettingInteger(st, L"colorAreaTexto", 16777215);

    std::int32_t minutes = LoadSettingInteger(st, L"minutos", 60);
    if (h.setMinuteCounter) h.setMinuteCounter(minutes);
    live.iMinutos.take(minutes);
    live.iSegundos.take(LoadSettingInteger(st, L"segundos", 240));
    live.transparenciaAreaTexto.take(LoadSettingInteger(st, L"transparencia_area_texto", 200));
    live.transparenciaPrincipal.take(LoadSettingInteger(st, L"transparencia_principal", 200));

    auto exists = [&](const std::wstring& p) { return !p.empty() && h.fileExists && h.fileExists(p); };
    auto missing = [&](MissingMedia m) {
        if (h.showMissing) h.showMissing(m);
    };

    live.setFicheroSonidoAmbiente(LoadSettingStr(st, L"fichero_sonido", dir + L"media\\sonido.mp3"));
    if (!exists(live.ficheroSonidoAmbiente)) {
        live.confSonido = false;
        missing(MissingMedia::AmbientSound);
    }
    live.ficheroSonidoClick = LoadSettingStr(st, L"fichero_sonido_click", dir + L"media\\click.wav");
    if (!exists(live.ficheroSonidoClick)) {
        live.keyboardSound = false;
        if (h.keyboardSoundChanged) h.keyboardSoundChanged(false);
        missing(MissingMedia::KeyboardSound);
    }
    live.ficheroImagenFondo = LoadSettingStr(st, L"fichero_fondo", dir + L"media\\fondo.jpg");
    if (!exists(live.ficheroImagenFondo)) {
        live.confImagenFondo = false;
        missing(MissingMedia::BackgroundImage);
    }
    live.ficheroTemporal = LoadSettingStr(st, L"fichero_temporal", dir + L"tmp\\tolvane.tmp");

    std::wstring code = LoadSettingStr(st, L"language", L"en");
    live.languageIndex = languageIndex(code);
    live.unknownLanguage = live.languageIndex < 0 ? code : std::wstring();
}

void saveSettings(SettingsStore& st, const LiveSettings& l, const TextArea& a, std::wstring_view version) {
    SaveSettingBool(st, L"transparencia", l.confTransparente);
    SaveSettingBool(st, L"fondo", l.confImagenFondo);
    SaveSettingBool(st, L"sonido", l.confSonido);
    SaveSettingBool(st, L"sonido_teclado", l.keyboardSound);
    SaveSettingInteger(st, L"colorFondo", l.colorFondo);
    SaveSettingInteger(st, L"minutos", l.iMinutos.value);
    SaveSettingInteger(st, L"segundos", l.iSegundos.value);
    SaveSettingStr(st, L"fichero_sonido", l.ficheroSonidoAmbiente);
    SaveSettingStr(st, L"fichero_sonido_click", l.ficheroSonidoClick);
    SaveSettingStr(st, L"fichero_fondo", l.ficheroImagenFondo);
    SaveSettingStr(st, L"fichero_temporal", l.ficheroTemporal);
    SaveSettingInteger(st, L"transparencia_principal", l.transparenciaPrincipal.value);
    SaveSettingInteger(st, L"transparencia_area_texto", l.transparenciaAreaTexto.value);
    SaveSettingInteger(st, L"colorTexto", l.colorTexto);
    SaveSettingInteger(st, L"colorAreaTexto", l.colorAreaTexto);
    SaveSettingInteger(st, L"area_texto.top", a.top);
    SaveSettingInteger(st, L"area_texto.left", a.left);
    SaveSettingInteger(st, L"area_texto.width", a.width);
    SaveSettingInteger(st, L"area_texto.height", a.height);
    SaveSettingStr(st, L"version", version);
    SaveSettingStr(st, L"language", l.languageCode());
}

std::wstring versionText(std::uint32_t ms, std::uint32_t ls) {
    return std::to_wstring(ms >> 16) + L"." + std::to_wstring(ms & 0xFFFF) + L"." + std::to_wstring(ls >> 16) +
           L"." + std::to_wstring(ls & 0xFFFF);
}

}  // namespace tv
