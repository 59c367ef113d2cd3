#include "sound/Click.h"

#include "sound/SoundLog.h"
#include "sound/core/WaveImage.h"
#include "widgets/Win.h"

#include <mmsystem.h>

#include <cstdlib>

namespace tv::click {

namespace {
constexpr UINT kClickFlags = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;  // 7
static_assert(kClickFlags == 7);

void stop(const char* why) {
    sndPlaySoundA(nullptr, 0);
    if (soundlog::enabled()) soundlog::line(std::string("sndStop reason=") + why);
}

void stopAtExit() { stop("exit"); }
}  // namespace

void play(const std::string& image) {
    // The system reads the image while it plays, and a click may still be
    // playing when the program ends (Ctrl+Q clicks too): registered after the
    // image's construction, this stop runs before the image is released.
    static const bool stopRegistered = std::atexit(stopAtExit) == 0;
    (void)stopRegistered;
    const char* data = isPlayableWave(image) ? image.data() : nullptr;
    BOOL r = sndPlaySoundA(data, kClickFlags);
    if (soundlog::enabled())
        soundlog::line(std::string("sndPlaySound data=") + (data ? "wave" : "null") + " flags=" +
                       soundlog::hex(kClickFlags) + " result=" + std::to_string(r));
}

void replaceImage(std::string& image, std::string&& fresh) {
    if (!image.empty()) stop("reload");
    image = std::move(fresh);
}

}  // namespace tv::click
