// Feeds arbitrary bytes through the order-file reader: decoding, line splitting,
// order lines, colour fields and directives must never crash or hang.
#include "board/order_file.h"
#include "text/utf8.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavren::board;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool truncated = size > 0 && data[0] == '!';
    // Stand-in for the legacy code page: accept everything as Latin-1.
    const auto latin1 = [](const std::string& b) {
        std::string out;
        for (unsigned char c : b) {
            if (c < 0x80) {
                out.push_back(static_cast<char>(c));
            } else {
                out.push_back(static_cast<char>(0xC0 | (c >> 6)));
                out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            }
        }
        return out;
    };
    const auto text = decodeOrderFile(bytes, truncated, latin1);
    if (!tavren::text::isValidUtf8(text)) __builtin_trap(); // the decoder promises UTF-8
    for (std::string_view line : splitOrderLines(text)) {
        if (line.find('\r') != std::string_view::npos) __builtin_trap();
        if (!line.empty() && line.front() == '*') {
            (void)parseDirective(line);
        } else if (auto order = parseOrderLine(line)) {
            if (order->caption.find(',') != std::string::npos) __builtin_trap();
        }
    }
    return 0;
}
