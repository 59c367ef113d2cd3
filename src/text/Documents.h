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

// Reads a file into the editor in the format its name selects, trying the
// other format when that fails. Throws Failure.
void loadInto(const std::wstring& fileName);
// Writes the editor to fileName beside the old file and replaces it only once
// the whole document is on disk. Throws Failure; the old file is then intact.
void saveTo(const std::wstring& fileName);

}  // namespace tv::documents
