#include "combo_box.h"

namespace tavren::controls {

std::optional<std::string> ComboBox::item(int position) const {
    if (position < 0 || position >= count()) return std::nullopt;
    return items_[static_cast<std::size_t>(position)];
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    notify(Property::Items);
}

void ComboBox::clear() {
    const bool hadPick = listIndex_ != -1;
    items_.clear();
    listIndex_ = -1;
    notify(Property::Items);
    setText({});
    if (hadPick) picked.raise();
}

void ComboBox::setListIndex(int position) {
    if (position < -1 || position >= count() || position == listIndex_) return;
    listIndex_ = position;
    notify(Property::Value);
    if (position >= 0) replaceText(items_[static_cast<std::size_t>(position)]);
    picked.raise();
}

void ComboBox::setText(std::string t) {
    if (!replaceText(std::move(t)) || listIndex_ == -1) return;
    listIndex_ = -1;
    notify(Property::Value);
    picked.raise();
}

bool ComboBox::replaceText(std::string t) {
    if (t == text_) return false;
    text_ = std::move(t);
    notify(Property::Text);
    textChanged.raise();
    return true;
}

void ComboBox::setBackColour(Colour c) {
    if (c == backColour_) return;
    backColour_ = c;
    notify(Property::Colour);
}

} // namespace tavren::controls
