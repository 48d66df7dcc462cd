#pragma once
// A label: text painted on the window it lies on, optionally with a drop
// shadow and a transparent background, sizing itself to its text.
#include <functional>
#include <string>
#include <vector>

#include "widgets/control.h"

namespace kav::widgets {

enum class Alignment { Left, Center, Right };
// Where the shadow falls from the text.
enum class ShadowDirection { TopLeft, TopRight, BottomLeft, BottomRight };

class Label : public GraphicControl {
public:
    explicit Label(std::string name) : GraphicControl(std::move(name)) {}

    void Paint(Canvas& canvas) const override;

    // A shadowed label draws its text twice: first in the shadow colour,
    // offset by the shadow size in the shadow direction, then in the font's
    // colour.
    Color ShadowColor() const { return shadowColor_; }
    void SetShadowColor(Color color);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int size);
    ShadowDirection Direction() const { return direction_; }
    void SetDirection(ShadowDirection direction);
    // A transparent label leaves the background showing through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    Alignment TextAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);
    // Breaks the text into lines that fit the width (a carriage return or
    // line feed always breaks a line).
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // Whether the label takes the size of its text (only the height when it
    // wraps words) whenever its text, font or shadow changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

protected:
    void TextChanged() override { AdjustSize(); }
    void Placed() override { AdjustSize(); }

private:
    void AdjustSize();
    std::vector<std::string> Lines(Canvas* canvas) const;

    Color shadowColor_ = clWhite;
    int shadowSize_ = 0;
    ShadowDirection direction_ = ShadowDirection::BottomRight;
    bool transparent_ = false;
    Alignment alignment_ = Alignment::Left;
    bool wordWrap_ = false;
    bool autoSize_ = true;
};

// Splits `text` at line breaks and, when `width` is positive, between words
// so that each line measures at most `width` (a word longer than the width
// stands alone on its line).
std::vector<std::string> BreakLines(const std::string& text, int width,
                                    const std::function<int(const std::string&)>& measure);

}  // namespace kav::widgets
