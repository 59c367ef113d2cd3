#pragma once
// The document: its name, its changed flag and the document commands.
#include <string>

namespace tv::documents {

extern std::wstring sFicheroNombre;  // full path of the current document; empty while unnamed

void preguntaGuardarCambios();
void bNewClick();
void bAbrirClick();
void bGuardarClick();
void bGuardarComoClick();
void cargaPrimerFichero();
void autosave();  // jvtTemporizadorGuardadoAutomaticoTimer; reports its own failures, never throws
// A text kept from a run that did not end normally, opened under the name its
// document had (empty: unnamed) and marked changed, so Save puts it there.
void openRecovered(const std::wstring& keptCopy, const std::wstring& name);

}  // namespace tv::documents
