#pragma once
// Whether an in-memory click image is a complete WAV file that the system can
// play. The click is handed to the system only when it is: a truncated or
// foreign file must give silence, never noise read from past its end.
#include <string_view>

namespace tv {

enum class WaveCheck {
    Playable,
    TooShort,       // no room for the RIFF header
    NotRiff,        // no "RIFF" tag
    NotWave,        // a RIFF file of another form (AVI, ...)
    Truncated,      // the RIFF size or a chunk runs past the end of the image
    NoFormat,       // no 'fmt ' chunk before the data
    BadFormat,      // 'fmt ' too short, or no channels, rate or block size
    NoData,         // no 'data' chunk
};

WaveCheck checkWaveImage(std::string_view image);
inline bool isPlayableWave(std::string_view image) { return checkWaveImage(image) == WaveCheck::Playable; }

}  // namespace tv
