#include "entry_values.h"

#include "board/numbers.h"
#include "text/ascii_case.h"

#include <cmath>

namespace tavren::settings {

bool countsAsMissing(std::string_view value) {
    return text::equalsIgnoringAsciiCase(value.substr(0, kMissingValue.size()), kMissingValue);
}

std::string withoutTrailingBlanks(std::string_view value) {
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    return std::string(value);
}

std::optional<std::int32_t> wholeNumber(std::string_view value) {
    const std::optional<double> number = board::parseDecimal(value);
    if (!number) return std::nullopt;
    return board::roundToInt32(*number);
}

std::string twipsText(double twips) {
    if (!std::isfinite(twips)) return "0";
    return std::to_string(static_cast<long long>(std::nearbyint(twips)));
}

} // namespace tavren::settings
