#include "sound/Ambient.h"

namespace tv::ambient {

// Playback through MCI comes with the sound work; until then nothing plays.
void create() {}
void play(const std::wstring&) {}
void close() {}
unsigned setVolume(int) { return 0; }

}  // namespace tv::ambient
