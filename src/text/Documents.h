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
void autosave();
// Tells the writer what of the document just loaded the editor could not
// take; nothing when all of it was taken or it was told already.
void tellLostParts();  // jvtTemporizadorGuardadoAutomaticoTimer

}  // namespace tv::documents
