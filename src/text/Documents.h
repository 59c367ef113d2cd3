#pragma once
// The document: its name, its changed flag and the document commands.
#include <string>

namespace tv::documents {

extern std::wstring sFicheroNombre;  // full path of the current document; empty while unnamed

// The save prompt; false when the writer chose to save and then cancelled the
// Save As: the command that asked must not go on.
bool preguntaGuardarCambios();
void bNewClick();
void bAbrirClick();
void bGuardarClick();
void bGuardarComoClick();
void cargaPrimerFichero();
void autosave();  // jvtTemporizadorGuardadoAutomaticoTimer; reports its own failures, never throws
// A text kept from a run that did not end normally, opened under the name its
// document had (empty: unnamed) and marked changed, so Save puts it there.
void openRecovered(const std::wstring& keptCopy, const std::wstring& name);
// Tells the writer what of the document just loaded the editor could not
// take; nothing when all of it was taken or it was told already.
void tellLostParts();

}  // namespace tv::documents
