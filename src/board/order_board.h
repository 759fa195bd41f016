#pragma once

#include "platform/controls/controls.h"

#include <cstdint>

namespace tavren::board {

// The order board's shape: how many rows and columns of order buttons are shown,
// the gap between them, and where every shown button sits on the board frame.
class OrderBoard {
public:
    static constexpr int kLastButtonIndex = 81;

    struct Controls {
        const controls::ControlArray<controls::Button>& tavren;
        controls::Frame& board; // the panel that holds the buttons
        const controls::ControlArray<controls::OptionButton>& OpT; // rows, indexes 2..9
        const controls::ControlArray<controls::OptionButton>& OpY; // columns, indexes 2..9
        controls::ComboBox& cmb_Bgap;                              // the gap in units of 20 twips
    };

    explicit OrderBoard(Controls controls);

    // Sets the start-up values: 4 rows, 2 columns, gap 50 twips. Lays nothing out.
    void initialise();

    // Row and column counts. Returns false (after storing the count, without a
    // layout) when no option button has that index, as from "*ButtonT=0".
    bool OpT_Click(int index);
    bool OpY_Click(int index);
    // The gap box's text (a number of 20-twip units) becomes the gap; false when the
    // text is not a number, leaving everything unchanged.
    bool ButtonGapApply();
    // Shows buttons 0..lastShownIndex in a grid filling the board frame, hides the rest.
    void ButtonArrange();

    std::int32_t rowCount() const { return rowCount_; }
    std::int32_t columnCount() const { return columnCount_; }
    std::int32_t lastShownIndex() const { return lastShownIndex_; }
    std::int32_t buttonGap() const { return buttonGap_; }

private:
    bool setCount(std::int32_t& count, std::int32_t other, int index,
                  const controls::ControlArray<controls::OptionButton>& options);

    Controls c_;
    std::int32_t rowCount_ = 4;
    std::int32_t columnCount_ = 2;
    std::int32_t lastShownIndex_ = 7;
    std::int32_t buttonGap_ = 50;
};

} // namespace tavren::board
