#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavren::board {

// The characters of valid UTF-8 text, each as its own byte run.
std::vector<std::string_view> utf8Characters(std::string_view text);

// ASCII letters folded to lower case; other characters unchanged.
std::string asciiLower(std::string_view text);

} // namespace tavren::board
