#pragma once

#include <string>
#include <vector>

namespace tavren::x11test {

// Lines as Japanese users chat: kanji, kana, full-width and half-width forms
// and ASCII, from a pool whose non-ASCII characters (16) fit the spare
// keycodes of a bare server's keyboard map (18) even at one level each.
inline std::string mixedJapaneseLine(int seed, std::size_t length) {
    static const std::vector<std::string> pool = {"攻", "撃", "開", "始", "！", "＠", "北",
                                                  "南", "ｱ",  "ｲ",  "ｳ",  "ﾞ",  "ｰ",  "１",
                                                  "Ａ", "（", "a",  "Z",  "7",  " ",  "?"};
    std::string line;
    unsigned state = 2166136261u ^ static_cast<unsigned>(seed);
    for (std::size_t i = 0; i < length; ++i) {
        state = state * 16777619u + 1013904223u;
        line += pool[(state >> 8) % pool.size()];
    }
    return line;
}

// `length` characters, the first half drawn from 30 CJK ideographs and the
// second half from 30 others: 60 in all, more than the two shift levels of a
// bare server's spare keycodes hold (36), so the bindings change once in the
// middle.
inline std::string manyDistinctCharacters(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t c = 0x4E00 + static_cast<char32_t>((i < length / 2 ? 0 : 30) + i * 7 % 30);
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

} // namespace tavren::x11test
