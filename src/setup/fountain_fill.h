#pragma once
// The main screen's background gradient. A graphic control: it has no window
// of its own and is drawn on its form.
#include <string>

#include "widgets/control.h"

namespace kav::setup {

class TFountainFill : public widgets::GraphicControl {
public:
    explicit TFountainFill(std::string name) : GraphicControl(std::move(name)) {}

    widgets::Color FromColor() const { return fromColor_; }
    void SetFromColor(widgets::Color color);
    widgets::Color ToColor() const { return toColor_; }
    void SetToColor(widgets::Color color);

private:
    widgets::Color fromColor_ = 0xFFFF00;
    widgets::Color toColor_ = 0;
};

}  // namespace kav::setup
