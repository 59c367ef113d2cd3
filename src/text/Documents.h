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
void autosave();  // jvtTemporizadorGuardadoAutomaticoTimer

}  // namespace tv::documents
