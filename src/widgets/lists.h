#pragma once
// Lists of plain text items with one selected item: a list box and a
// drop-down list (a combo box whose text is always one of its items).
#include <string>
#include <vector>

#include "widgets/control.h"

namespace kav::widgets {

class ItemList : public Control {
public:
    bool TabStop() const override { return true; }

    const std::vector<std::string>& Items() const { return items_; }
    std::size_t Count() const { return items_.size(); }
    // Replaces the items; the selection goes.
    void SetItems(std::vector<std::string> items);
    // The item with exactly this text, or -1.
    int IndexOf(const std::string& text) const;

    // The selected item, or -1. Out-of-range indexes throw
    // std::out_of_range.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    // The selection changed, whoever changed it.
    NotifyEvent OnChange;

protected:
    explicit ItemList(std::string name) : Control(std::move(name)) {}

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

// A double click on the selected item raises OnDblClick.
class ListBox : public ItemList {
public:
    explicit ListBox(std::string name) : ItemList(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
};

class ComboBox : public ItemList {
public:
    explicit ComboBox(std::string name) : ItemList(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
};

}  // namespace kav::widgets
