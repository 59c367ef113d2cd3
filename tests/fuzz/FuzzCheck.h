#pragma once
// What every fuzz target shares: a broken promise stops the run at once, with
// the input that broke it kept by libFuzzer as an artifact.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tv::fuzz {

inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tv::fuzz
