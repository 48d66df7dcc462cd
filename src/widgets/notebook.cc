#include "widgets/notebook.h"

#include <stdexcept>

#include "widgets/visitor.h"

namespace kav::widgets {

void Notebook::Accept(ControlVisitor& visitor) { visitor.VisitContainer(*this); }

void Notebook::AddPage(Panel& page) {
    if (page.Parent() != this) throw std::logic_error("A page must lie inside its notebook");
    pages_.push_back(&page);
    if (pageIndex_ < 0) {
        pageIndex_ = 0;
        page.SetVisible(true);
    } else {
        page.SetVisible(false);
    }
}

void Notebook::SetPageIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= pages_.size()) {
        throw std::out_of_range("Notebook " + Name() + " has no page " + std::to_string(index));
    }
    if (index == pageIndex_) return;
    pages_[static_cast<std::size_t>(index)]->SetVisible(true);
    if (pageIndex_ >= 0) pages_[static_cast<std::size_t>(pageIndex_)]->SetVisible(false);
    pageIndex_ = index;
    Changed(Property::Page);
    if (OnPageChanged) OnPageChanged();
}

}  // namespace kav::widgets
