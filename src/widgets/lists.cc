#include "widgets/lists.h"

#include <algorithm>
#include <stdexcept>

#include "widgets/visitor.h"

namespace kav::widgets {

void ListBox::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void ComboBox::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }

void ItemList::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    Changed(Property::Items);
}

int ItemList::IndexOf(const std::string& text) const {
    const auto it = std::find(items_.begin(), items_.end(), text);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void ItemList::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) {
        throw std::out_of_range("List " + Name() + " has no item " + std::to_string(index));
    }
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Changed(Property::ItemIndex);
    if (OnChange) OnChange();
}

}  // namespace kav::widgets
