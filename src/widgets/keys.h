#pragma once
// The keys with a meaning of their own to a form or to the control that has
// its focus: moving the focus, the default and cancel buttons, pressing and
// toggling, and paging through a memo.
namespace kav::widgets {

enum class Key { Tab, Enter, Escape, Space, PageUp, PageDown };

}  // namespace kav::widgets
