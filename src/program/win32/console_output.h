#pragma once

#include <string_view>

namespace tavren::program {

// tavren.exe is a GUI program: Windows gives it no console. Text for standard
// output or standard error goes to what the parent redirected it to (a pipe, a
// file: as UTF-8), else to the console of the command prompt that started it
// (attached on first use; shown as UTF-16, Japanese included), else nowhere.
enum class Stream { Output, Error };
void writeText(Stream stream, std::string_view utf8);

} // namespace tavren::program
