// Reads arbitrary bytes as a settings file and checks what the store relies on:
// untouched text comes back byte for byte, a written value reads back, and a
// write never changes what another key reads.
#include "platform/backend/ini/ini_document.h"
#include "text/utf8.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

using tavren::backend::ini::IniDocument;
using tavren::text::cutOnCharacterBoundary;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

std::string expectedReadBack(std::string value) {
    for (auto& c : value)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = value.find_last_not_of(" \t");
    return value.substr(first, last - first + 1);
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string value = input.ConsumeRandomLengthString(400);
    const std::string text = input.ConsumeRemainingBytesAsString();

    IniDocument document(text);
    require(document.text() == text);

    const auto other = document.find("Option", "ButtonGAP");
    if (other) {
        const std::string cut(cutOnCharacterBoundary(*other, 254));
        require(cut.size() <= 254 && other->compare(0, cut.size(), cut) == 0);
        // At most one partial character goes, unless the bytes are not UTF-8.
        if (other->size() > 254)
            require(cut.size() >= 251 &&
                    (cut.size() == 254 || !isContinuation((*other)[cut.size()])));
    }

    document.set("nick", "txt", value);
    const IniDocument reread(document.text());
    require(reread.find("nick", "txt") == expectedReadBack(value));
    require(reread.find("Option", "ButtonGAP") == other);
    return 0;
}
