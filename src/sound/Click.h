#pragma once
// The key click, played asynchronously from its in-memory WAV image.
#include <string>

namespace tv::click {

// True when the image is a RIFF/WAVE file; anything else is never handed to
// the system to play.
bool isWave(const std::string& image);
void play(const std::string& image);
// Replaces the image; a click still playing from the old one is stopped
// first, since the system reads the image while it plays.
void replaceImage(std::string& image, std::string&& fresh);

}  // namespace tv::click
