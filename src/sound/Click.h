#pragma once
// The key click, played asynchronously from its in-memory WAV image.
#include <string>

namespace tv::click {

// SND_ASYNC | SND_NODEFAULT | SND_MEMORY. An image that is not a complete WAV
// file (isPlayableWave) is never handed to the system: the call then only
// stops the previous click, exactly as an empty image does. A click still
// playing when the program ends is stopped before the image is released.
void play(const std::string& image);
// Replaces the image; a click still playing from the old one is stopped
// first, since the system reads the image while it plays.
void replaceImage(std::string& image, std::string&& fresh);

}  // namespace tv::click
