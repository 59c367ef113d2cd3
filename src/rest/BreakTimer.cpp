// The writing-minute countdown of the workspace.
#include "settings/Configuracion.h"
#include "workspace/Principal.h"

namespace tv {

void TfPrincipal::jvtTemporizadorTimer() {
    if (countdown.tick()) countdown.afterRest(fConfiguracion->live.iMinutos.value);
    iMinutos = countdown.minutes();
}

}  // namespace tv
