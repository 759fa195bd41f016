#include "fake_services.h"

namespace tavren::fakes {

std::string FakeTextCodec::legacyToUtf8(const std::string& bytes) {
    std::string out;
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            continue;
        }
        if (b == 0xFF) {
            out += "\xEF\xBF\xBD";
            continue;
        }
        const char32_t cp = 0x3040 + (b - 0x80);
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return out;
}

} // namespace tavren::fakes
