#include "sound/Click.h"

#include "widgets/Win.h"

#include <mmsystem.h>

namespace tv::click {

bool isWave(const std::string& image) {
    return image.size() >= 12 && image.compare(0, 4, "RIFF") == 0 && image.compare(8, 4, "WAVE") == 0;
}

void play(const std::string& image) {
    // SND_ASYNC | SND_NODEFAULT | SND_MEMORY; an empty or unplayable image stops
    // the previous click and plays nothing.
    const char* data = isWave(image) ? image.data() : nullptr;
    sndPlaySoundA(data, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

void replaceImage(std::string& image, std::string&& fresh) {
    if (!image.empty()) sndPlaySoundA(nullptr, 0);
    image = std::move(fresh);
}

}  // namespace tv::click
