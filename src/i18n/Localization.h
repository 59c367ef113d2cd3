#pragma once
// Message catalogs on Windows: domains, the current language and the
// translation of windows. Catalogs lie under <program folder>locale and are
// mapped read-only at the first lookup in their domain.
#include "widgets/Win.h"

#include <string>
#include <vector>

namespace tv {

// The program's own texts, and the domain in which window texts are looked up.
inline constexpr const wchar_t* kDefaultDomain = L"default";
// Texts of the widget set itself (dialog buttons, its own messages).
inline constexpr const wchar_t* kWidgetsDomain = L"tolvane-widgets";
// Window property of a translated window; it holds the language as a global atom.
inline constexpr const wchar_t* kTranslationMarker = L"GNUgettextMarker";

// Appends the domain to the resource-string domain list unless it is there.
void AddDomainForResourceString(const std::wstring& domain);

// Makes code the language of every domain; each domain forgets its catalog
// and its "not found" mark so the next lookup looks for the new language.
void UseLanguage(const std::wstring& code);
std::wstring currentLanguage();

// The resource-string domain list, in lookup order ("default" first).
std::vector<std::wstring> resourceStringDomains();
// Whether the caller runs on the thread that set the layer up (the UI thread).
bool onTranslationThread();

// Looks for the domain's catalog now unless it was looked for already; any
// complaint about the file (charset, damage) is shown here and not at the
// first lookup.
void openDomain(const std::wstring& domain);

// The translation of text in one domain, or text itself when the domain has
// none (no catalog, domain switched off, another thread than the UI thread).
std::wstring translateIn(const std::wstring& domain, const std::wstring& text);

// Translates the text of the window and of all its descendants in the domain
// "default", once: a marked window is left as it is.
void TranslateComponent(HWND window);

}  // namespace tv
