#include "iconv_text_codec.h"

#include <cerrno>
#include <iconv.h>

namespace tavren::posix {
namespace {

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

} // namespace

std::optional<std::string> IconvTextCodec::legacyToUtf8(const std::string& bytes) {
    const Converter converter;
    if (!converter.valid()) return std::nullopt;

    // One CP932 byte never becomes more than three UTF-8 bytes (half-width
    // katakana), two bytes never more than three: the output always fits.
    std::string out(bytes.size() * 3, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* next = out.data();
    std::size_t outLeft = out.size();
    // Invalid (EILSEQ) and cut-off (EINVAL) sequences both mean "not CP932".
    if (::iconv(converter.get(), &in, &inLeft, &next, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace tavren::posix
