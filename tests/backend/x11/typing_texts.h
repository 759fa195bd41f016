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

// `length` CJK ideographs, drawn in turn from the `distinct` ones that follow
// U+4E00 + `offset`.
inline std::string cjkCharacters(std::size_t length, std::size_t distinct, std::size_t offset = 0) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t c = 0x4E00 + static_cast<char32_t>(offset + i * 7 % distinct);
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

// 60 distinct characters, each twice: more than the first two shift levels of
// a bare server's spare keycodes hold (36), fewer than all four (72).
inline std::string fourLevelsOfCharacters() {
    return cjkCharacters(120, 60);
}

// `length` characters, the first half drawn from 40 CJK ideographs and the
// second half from 40 others: 80 in all, more than the four shift levels of a
// bare server's spare keycodes hold (72), so the bindings change once in the
// middle.
inline std::string manyDistinctCharacters(std::size_t length) {
    return cjkCharacters(length / 2, 40) + cjkCharacters(length - length / 2, 40, 40);
}

} // namespace tavren::x11test
