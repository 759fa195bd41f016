#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

namespace tavren::benchmark {

// Characters (not bytes) of UTF-8 text.
inline std::size_t codePoints(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }));
}

// Characters of `expected` missing from `received`; a wrong character counts
// as lost, and so does anything received beyond what was typed (something
// arrived wrong).
inline std::size_t lost(const std::string& expected, const std::string& received) {
    if (received == expected) return 0;
    std::size_t same = 0;
    while (same < expected.size() && same < received.size() && expected[same] == received[same])
        ++same;
    const auto want = codePoints(expected), got = codePoints(received);
    const auto mismatched = codePoints(expected.substr(same));
    return std::max<std::size_t>(want > got ? want - got : got - want, mismatched ? 1 : 0);
}

} // namespace tavren::benchmark
