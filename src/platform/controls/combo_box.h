#pragma once

#include "colour.h"
#include "control.h"

#include <optional>
#include <string>
#include <vector>

namespace tavren::controls {

// A drop-down list with an edit field. listIndex is the picked entry (-1 = none);
// text is what the edit field shows, which need not be an entry. Only a pick
// names an entry: changing the text, by typing or from code, drops the pick,
// even when the new text spells an entry, so the list never shows one thing
// while meaning another.
class ComboBox : public Control {
public:
    ComboBox(std::string name, Control* parent, std::string text = {})
        : Control(Kind::ComboBox, std::move(name), parent), text_(std::move(text)) {}

    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    // The entry at a position, or nothing for a position outside the list.
    std::optional<std::string> item(int position) const;
    void addItem(std::string item);
    void clear(); // removes every entry, the pick and the edit text

    int listIndex() const { return listIndex_; }
    // Picks an entry (its text goes to the edit field), or nothing with -1.
    // Positions outside the list are ignored. A change of the pick raises picked.
    void setListIndex(int position);

    const std::string& text() const { return text_; }
    // A different text drops the pick (raising picked after textChanged).
    void setText(std::string t);

    Colour backColour() const { return backColour_; }
    void setBackColour(Colour c);

    Signal<> picked;
    Signal<> textChanged;

private:
    // Sets the text without touching the pick; false when it was already that.
    bool replaceText(std::string t);

    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
    Colour backColour_ = kWindowBackground;
};

} // namespace tavren::controls
