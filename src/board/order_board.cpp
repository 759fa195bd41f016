#include "order_board.h"

#include "board/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tavren::board {

namespace {
// The first row starts this far below the board frame's top edge.
constexpr double kTopMargin = 150;
} // namespace

OrderBoard::OrderBoard(Controls controls) : c_(controls) {
    c_.OpT.forEach([this](int index, controls::OptionButton& option) {
        option.clicked.connect([this, index] { OpT_Click(index); });
    });
    c_.OpY.forEach([this](int index, controls::OptionButton& option) {
        option.clicked.connect([this, index] { OpY_Click(index); });
    });
}

void OrderBoard::initialise() {
    buttonGap_ = 50;
    rowCount_ = 4;
    columnCount_ = 2;
    lastShownIndex_ = rowCount_ * columnCount_ - 1;
}

bool OrderBoard::OpT_Click(int index) {
    return setCount(rowCount_, columnCount_, index, c_.OpT);
}

bool OrderBoard::OpY_Click(int index) {
    return setCount(columnCount_, rowCount_, index, c_.OpY);
}

bool OrderBoard::setCount(std::int32_t& count, std::int32_t other, int index,
                          const controls::ControlArray<controls::OptionButton>& options) {
    const std::int64_t last = static_cast<std::int64_t>(other) * index - 1;
    if (last < std::numeric_limits<std::int32_t>::min() ||
        last > std::numeric_limits<std::int32_t>::max())
        return false;
    count = index;
    lastShownIndex_ = static_cast<std::int32_t>(last);
    // Counts without an option button (0, 1, ...) stay stored for the next layout,
    // but this call fails before laying out.
    controls::OptionButton* option = options.find(index);
    if (!option) return false;
    option->select(); // may run this handler again, nested, with the same index
    ButtonArrange();
    return true;
}

bool OrderBoard::ButtonGapApply() {
    const std::optional<double> units = parseDecimal(c_.cmb_Bgap.text());
    if (!units) return false;
    const std::optional<std::int32_t> gap = roundToInt32(*units * 20.0);
    if (!gap) return false;
    buttonGap_ = *gap;
    ButtonArrange();
    return true;
}

void OrderBoard::ButtonArrange() {
    // A count below 1 (from "*ButtonT=0") cannot be laid out: keep the last layout.
    if (rowCount_ < 1 || columnCount_ < 1) return;
    const int lastShown = std::min<std::int32_t>(lastShownIndex_, kLastButtonIndex);

    for (int i = 0; i <= lastShown; ++i)
        c_.tavren[i].setVisible(true);
    for (int i = lastShown + 1; i <= kLastButtonIndex; ++i)
        c_.tavren[i].setVisible(false);

    const double frameWidth = c_.board.width();
    const double columns = (static_cast<double>(lastShownIndex_) + 1) / rowCount_;
    const std::optional<std::int32_t> pitch = roundToInt32((frameWidth - buttonGap_) / columns);
    if (!pitch) return;

    for (int i = 0; i <= lastShown; ++i) {
        controls::Button& button = c_.tavren[i];
        const int row = i % rowCount_;
        const int column = i / rowCount_;

        // Sizes that come out negative (a huge gap, a tiny window) are clamped to 0.
        const double frameHeight = c_.board.height();
        const float height =
            static_cast<float>((frameHeight - kTopMargin) / rowCount_ - buttonGap_);
        button.setHeight(std::max(0.0f, height));
        const double givenHeight = button.height();
        const float top = static_cast<float>(row * (givenHeight + buttonGap_) + kTopMargin);
        const std::int64_t width = static_cast<std::int64_t>(*pitch) - buttonGap_;
        const std::int64_t left = static_cast<std::int64_t>(column) * *pitch + buttonGap_;
        if (left > std::numeric_limits<std::int32_t>::max() ||
            left < std::numeric_limits<std::int32_t>::min())
            return;
        button.setGeometry({static_cast<double>(left), top,
                            static_cast<double>(std::max<std::int64_t>(0, width)),
                            button.height()});
    }
}

} // namespace tavren::board
