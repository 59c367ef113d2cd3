#pragma once
// The ambient player: one MP3 played through the Media Control Interface in an
// endless loop, owned by the workspace window.
#include "sound/core/Fade.h"

#include <string>

namespace tv::ambient {

void create();                            // the player's hidden notification window
void play(const std::wstring& fileName);  // close, open, play from the start (throws Failure on open/play errors)
void close();
unsigned setVolume(int level);            // MPSetVolume; the result is ignored by callers

}  // namespace tv::ambient
