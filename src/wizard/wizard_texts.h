#pragma once
// The fixed texts of the wizard's pages and of the directory chooser.
#include <string>
#include <vector>

namespace kav::wizard {

using TextLines = std::vector<std::string>;

// The welcome page: the warning to close other programs and the legal
// notice.
const TextLines& WelcomeText();
// The destination page's explanation.
const TextLines& DestinationText();
// The chooser's instructions.
const TextLines& ChooserText();
// What the licence memo holds until the wizard is first shown. It is never
// seen, but a Next performed before then finds more than one line in it.
const TextLines& LicencePlaceholder();

}  // namespace kav::wizard
