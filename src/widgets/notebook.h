#pragma once
// A notebook: pages of which one at a time is shown, chosen by page index.
#include <string>
#include <vector>

#include "widgets/control.h"
#include "widgets/controls.h"

namespace kav::widgets {

class Notebook : public Control {
public:
    explicit Notebook(std::string name) : Control(std::move(name)) {}
    void Accept(ControlVisitor& visitor) override;
    bool IsContainer() const override { return true; }

    // Appends a page; the page must be placed inside this notebook.
    void AddPage(Panel& page);
    std::size_t PageCount() const { return pages_.size(); }
    Panel& Page(std::size_t index) const { return *pages_.at(index); }

    // -1 while there are no pages.
    int PageIndex() const { return pageIndex_; }
    // Shows the page at `index` (throws std::out_of_range for a page that
    // does not exist) and then raises OnPageChanged, if the index changed.
    void SetPageIndex(int index);

    NotifyEvent OnPageChanged;

private:
    std::vector<Panel*> pages_;
    int pageIndex_ = -1;
};

}  // namespace kav::widgets
