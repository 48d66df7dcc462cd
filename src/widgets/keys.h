#pragma once
// The keys with a meaning of their own to a form: moving the focus, the
// default and cancel buttons, toggling, and paging through a memo.
namespace kav::widgets {

enum class Key { Tab, Enter, Escape, Space, PageUp, PageDown };

}  // namespace kav::widgets
