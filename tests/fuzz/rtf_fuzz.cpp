// libFuzzer target for the scan of an RTF file's parts: any bytes must be
// scanned to their end without a crash, a sanitizer report or a hang, and
// give only the parts there are.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/core/RtfContent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    constexpr unsigned all =
        tv::kRtfFootnotes | tv::kRtfEndnotes | tv::kRtfComments | tv::kRtfHeadersFooters | tv::kRtfFields |
        tv::kRtfDrawings;
    const unsigned parts = tv::RtfLostParts(rtf);
    if ((parts & ~all) != 0 || tv::RtfLostParts(rtf) != parts) __builtin_trap();
    return 0;
}
