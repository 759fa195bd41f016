#include "iconv_text_codec.h"

#include <cerrno>
#include <iconv.h>
#include <string_view>

namespace tavren::backend::posix {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

class Converter {
public:
    Converter() : cd_(::iconv_open("UTF-8", "CP932")) {}
    ~Converter() {
        if (valid()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// How many bytes at `at` make up the character that could not be converted: a
// well-formed but unassigned pair goes as one, anything else byte by byte.
std::size_t badCharacterLength(const char* at, std::size_t left) {
    const auto lead = static_cast<unsigned char>(at[0]);
    if (left >= 2 && isLeadByte(lead) && isTrailByte(static_cast<unsigned char>(at[1]))) return 2;
    return 1;
}

} // namespace

std::string IconvTextCodec::legacyToUtf8(const std::string& bytes) {
    const Converter converter;
    // Without the converter nothing but ASCII can be read for sure.
    std::string out;
    if (!converter.valid()) {
        for (const char c : bytes)
            if (static_cast<unsigned char>(c) < 0x80)
                out += c;
            else
                out += kReplacement;
        return out;
    }

    // One CP932 byte never becomes more than three UTF-8 bytes (half-width
    // katakana, or U+FFFD for a bad byte), two bytes never more than three.
    out.assign(bytes.size() * 3, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* next = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (::iconv(converter.get(), &in, &inLeft, &next, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL) break; // E2BIG cannot happen, see above
        // An invalid (EILSEQ) or cut-off (EINVAL) sequence: replace it, go on.
        const std::size_t bad = badCharacterLength(in, inLeft);
        in += bad;
        inLeft -= bad;
        kReplacement.copy(next, kReplacement.size());
        next += kReplacement.size();
        outLeft -= kReplacement.size();
    }
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace tavren::backend::posix
