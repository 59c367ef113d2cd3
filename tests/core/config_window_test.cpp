#include "settings/core/ConfigWindow.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tv;

namespace {
struct MemoryStore : SettingsStore {
    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> written;
    std::wstring refuse;
    RawValue read(std::wstring_view name) override {
        auto it = values.find(std::wstring(name));
        return it == values.end() ? RawValue{} : RawValue{RawValue::Type::Text, it->second};
    }
    void write(std::wstring_view name, std::wstring_view text) override {
        if (name == refuse) throw SettingsError(failedToSetText(name));
        written.emplace_back(name);
        values[std::wstring(name)] = std::wstring(text);
    }
};

// A configuration window whose surroundings are recorded.
struct Fixture {
    LiveSettings live;
    ConfigForm form{live};
    MemoryStore store;
    std::vector<std::string> events;
    std::vector<std::int32_t> workspaceColours;
    std::vector<int> workspaceOpacity, textOpacity;
    std::vector<bool> keyClick;
    std::vector<TextArea> placed;
    int workspaceWidth = 1280;
    bool initialiseFails = false;

    Fixture() {
        live.confSonido = true;
        live.ficheroSonidoAmbiente = L"C:\\media\\sonido.mp3";
        ConfigHooks& h = form.hooks;
        h.setWorkspaceColour = [this](std::int32_t c) { workspaceColours.push_back(c); };
        h.setWorkspaceOpacity = [this](int v) { workspaceOpacity.push_back(v); };
        h.setTextOpacity = [this](int v) { textOpacity.push_back(v); };
        h.setKeyClickSwitch = [this](bool b) { keyClick.push_back(b); };
        h.workspaceWidth = [this] { return workspaceWidth; };
        h.placeTextArea = [this](const TextArea& a) { placed.push_back(a); };
        h.save = [this] {
            events.push_back("save");
            saveSettings(store, live, TextArea{1, 2, 3, 4}, L"1.0.1.10");
        };
        h.initialise = [this] {
            events.push_back("initialise");
            if (initialiseFails) throw std::runtime_error("apply failed");
        };
        h.hide = [this] { events.push_back("hide"); };
    }
    void changeEverything() {
        form.cSonidoClick(false);
        form.colorFondoChange(255);
        form.transparenciaPrincipalChange(30);
        form.iMinutosChange(90);
        form.pathChange(PathField::Autosave, L"D:\\autosave.tmp");
    }
};
}  // namespace

TEST(ConfigForm, CancelKeepsEveryChangeForTheRunAndWritesNothing) {
    Fixture f;
    f.form.FormShow();
    f.changeEverything();
    f.form.bCancelarClick();
    EXPECT_TRUE(f.store.written.empty());
    EXPECT_FALSE(f.live.confSonido);
    EXPECT_EQ(f.live.colorFondo, 255);
    EXPECT_EQ(f.live.transparenciaPrincipal.value, 30);
    EXPECT_EQ(f.live.iMinutos.value, 90);
    EXPECT_EQ(f.live.ficheroTemporal, L"D:\\autosave.tmp");
    EXPECT_EQ(f.events, (std::vector<std::string>{"initialise", "hide"}));
    EXPECT_FALSE(f.form.isOpen());
}

TEST(ConfigForm, OkWritesTheWholeTableWithTheChangesThenApplies) {
    Fixture f;
    f.form.FormShow();
    f.changeEverything();
    f.form.bAceptarClick();
    EXPECT_EQ(f.store.written.size(), 21u);
    EXPECT_EQ(f.store.values[L"sonido"], L"0");
    EXPECT_EQ(f.store.values[L"colorFondo"], L"255");
    EXPECT_EQ(f.store.values[L"transparencia_principal"], L"30");
    EXPECT_EQ(f.store.values[L"minutos"], L"90");
    EXPECT_EQ(f.store.values[L"fichero_temporal"], L"D:\\autosave.tmp");
    EXPECT_EQ(f.events, (std::vector<std::string>{"save", "initialise", "hide"}));
}

TEST(ConfigForm, SaveWritesAndStaysOpenLaterChangesNeedAnotherSave) {
    Fixture f;
    f.form.FormShow();
    f.form.colorFondoChange(255);
    f.form.bGuardarConfiguracionClick();
    EXPECT_TRUE(f.form.isOpen());
    EXPECT_EQ(f.events, (std::vector<std::string>{"save"}));
    EXPECT_EQ(f.store.values[L"colorFondo"], L"255");

    f.form.colorFondoChange(65280);
    f.form.bCancelarClick();
    EXPECT_EQ(f.store.values[L"colorFondo"], L"255") << "Cancel writes nothing";
    EXPECT_EQ(f.live.colorFondo, 65280) << "but the change stays in force";
}

TEST(ConfigForm, OkWithARefusedWriteLeavesTheWindowOpen) {
    Fixture f;
    f.form.FormShow();
    f.store.refuse = L"fichero_sonido";
    EXPECT_THROW(f.form.bAceptarClick(), SettingsError);
    EXPECT_TRUE(f.form.isOpen());
    EXPECT_EQ(f.events, (std::vector<std::string>{"save"}));
    EXPECT_EQ(f.store.written.size(), 7u) << "the values before the refused one are written";
    // A later Cancel still closes and applies.
    f.form.bCancelarClick();
    EXPECT_EQ(f.events, (std::vector<std::string>{"save", "initialise", "hide"}));
}

TEST(ConfigForm, EveryWayOfClosingAppliesOnceAndAFailingApplyStillCloses) {
    Fixture f;
    f.form.FormShow();
    f.form.FormClose();  // a close request from the system
    f.form.FormClose();
    f.form.bCancelarClick();
    EXPECT_EQ(f.events, (std::vector<std::string>{"initialise", "hide"}));

    f.events.clear();
    f.initialiseFails = true;
    f.form.FormShow();
    EXPECT_THROW(f.form.bCancelarClick(), std::runtime_error);
    EXPECT_EQ(f.events, (std::vector<std::string>{"initialise", "hide"}));
    EXPECT_FALSE(f.form.isOpen());
}

TEST(ConfigForm, ShowingForgetsTheSoundFileChangeAndMirrorsTheFlags) {
    Fixture f;
    f.live.cambioFicheroSonido = true;  // as the load leaves it
    f.live.confTransparente = true;
    f.live.confImagenFondo = false;
    CheckStates c = f.form.FormShow();
    EXPECT_FALSE(f.live.cambioFicheroSonido);
    EXPECT_TRUE(c.cTransparencia);
    EXPECT_FALSE(c.cFondo);
    EXPECT_TRUE(c.cSonido);

    f.form.pathChange(PathField::AmbientSound, L"C:\\media\\sonido.mp3");
    EXPECT_FALSE(f.live.cambioFicheroSonido) << "the same text is no change";
    f.form.pathChange(PathField::ClickSound, L"C:\\other.wav");
    EXPECT_FALSE(f.live.cambioFicheroSonido) << "only the ambient sound file counts";
    f.form.pathChange(PathField::AmbientSound, L"C:\\new.mp3");
    EXPECT_TRUE(f.live.cambioFicheroSonido);
    f.form.bCancelarClick();
    EXPECT_TRUE(f.live.cambioFicheroSonido) << "kept for the workspace's initialisation after closing";
}

TEST(ConfigForm, OnlyTheSpecifiedControlsPreviewAtOnce) {
    Fixture f;
    f.form.FormShow();
    f.form.colorTextoChange(255);
    f.form.colorAreaTextoChange(65280);
    f.form.cFondoClick(true);
    f.form.cTransparenciaClick(true);
    f.form.iSegundosChange(30);
    EXPECT_TRUE(f.workspaceColours.empty());
    EXPECT_TRUE(f.workspaceOpacity.empty());
    EXPECT_TRUE(f.textOpacity.empty());
    EXPECT_EQ(f.live.colorTexto, 255);
    EXPECT_EQ(f.live.colorAreaTexto, 65280);
    EXPECT_TRUE(f.live.confImagenFondo);
    EXPECT_TRUE(f.live.confTransparente);
    EXPECT_EQ(f.live.iSegundos.value, 30);

    f.form.colorFondoChange(kColorAutomatic);
    f.form.transparenciaPrincipalChange(0);
    f.form.transparenciaAreaTextoChange(255);
    f.form.cKeyboardSoundClick(true);
    EXPECT_EQ(f.workspaceColours, (std::vector<std::int32_t>{kColorAutomatic}));
    EXPECT_EQ(f.workspaceOpacity, (std::vector<int>{0}));
    EXPECT_EQ(f.textOpacity, (std::vector<int>{255}));
    EXPECT_EQ(f.keyClick, (std::vector<bool>{true}));
    EXPECT_TRUE(f.live.keyboardSound);
}

TEST(ConfigForm, SliderValuesStayWithinTheirRanges) {
    Fixture f;
    f.form.FormShow();
    f.form.transparenciaAreaTextoChange(300);
    f.form.iMinutosChange(181);
    f.form.iSegundosChange(-1);
    EXPECT_EQ(f.live.transparenciaAreaTexto.value, 200);
    EXPECT_EQ(f.live.iMinutos.value, 0);
    EXPECT_EQ(f.live.iSegundos.value, 0);
    EXPECT_EQ(f.textOpacity, (std::vector<int>{200})) << "the preview shows what the slider holds";
}

TEST(ConfigForm, ResetPlacesTheTextAreaFromTheWorkspaceWidth) {
    struct Case {
        int width;
        TextArea want;
    } cases[] = {
        {1280, {128, 50, 1024, 632}},
        {1024, {102, 50, 819, 506}},
        {1366, {137, 50, 1092, 674}},
        {1920, {192, 50, 1536, 949}},
        {801, {80, 50, 640, 395}},  // trunc(640.8) = 640, trunc(80.5) = 80: truncated, not rounded
    };
    for (const Case& c : cases) {
        Fixture f;
        f.workspaceWidth = c.width;
        f.form.FormShow();
        f.form.resetTextAreaClick();
        ASSERT_EQ(f.placed.size(), 1u);
        const TextArea& a = f.placed[0];
        EXPECT_EQ(a.left, c.want.left) << c.width;
        EXPECT_EQ(a.top, c.want.top) << c.width;
        EXPECT_EQ(a.width, c.want.width) << c.width;
        EXPECT_EQ(a.height, c.want.height) << c.width;
        EXPECT_TRUE(f.store.written.empty()) << "nothing is saved by the reset";
    }
}

TEST(ConfigForm, LanguageListSelectionIsWhatTheSaveWrites) {
    Fixture f;
    f.live.languageIndex = -1;
    f.live.unknownLanguage = L"fr";
    f.form.FormShow();
    f.form.listaIdiomasChange(7);  // no such entry
    EXPECT_EQ(f.live.languageCode(), L"fr");
    f.form.listaIdiomasChange(2);
    f.form.bAceptarClick();
    EXPECT_EQ(f.store.values[L"language"], L"es");
}

TEST(ConfigWindowTexts, FiltersAndLabel) {
    EXPECT_EQ(dialogFilter(L"mp3 Files|*.mp3"), std::wstring(L"mp3 Files\0*.mp3\0\0", 17));
    EXPECT_EQ(dialogFilter(L"A|*.a|B|*.b;*.c"), std::wstring(L"A\0*.a\0B\0*.b;*.c\0\0", 17));
    EXPECT_STREQ(pathFilter(PathField::AmbientSound), L"mp3 Files|*.mp3");
    EXPECT_STREQ(pathFilter(PathField::ClickSound), L"wav Files|*.wav");
    EXPECT_STREQ(pathFilter(PathField::BackgroundImage), L"Jpeg Images|*.jpg");
    EXPECT_STREQ(pathFilter(PathField::Autosave), L"Tmp files|*.tmp");
    EXPECT_EQ(productLabel(L"1.0.1.10"), L"Tolvane v.1.0.1.10");
}
