// The writing-minute countdown of the workspace.
#include "rest/Descanso.h"
#include "settings/Configuracion.h"
#include "workspace/Principal.h"

namespace tv {

void TfPrincipal::jvtTemporizadorTimer() {
    // The settings load stores the minutes read in iMinutos; a tick inside a
    // start-up message box counts down from there, as any later one does.
    if (iMinutos != countdown.minutes()) countdown.adopt(iMinutos);
    if (countdown.tick()) {
        // The minute timer waits inside this tick while the rest window is up.
        fDescanso->ShowModal();
        countdown.afterRest(fConfiguracion->live.iMinutos.value);  // read after the rest
    }
    iMinutos = countdown.minutes();
    showBreakCountdown();
}

}  // namespace tv
