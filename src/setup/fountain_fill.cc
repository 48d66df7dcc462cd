#include "setup/fountain_fill.h"

namespace kav::setup {

void TFountainFill::SetFromColor(widgets::Color color) {
    if (color == fromColor_) return;
    fromColor_ = color;
    Changed(widgets::Property::Color);
}

void TFountainFill::SetToColor(widgets::Color color) {
    if (color == toColor_) return;
    toColor_ = color;
    Changed(widgets::Property::Color);
}

}  // namespace kav::setup
