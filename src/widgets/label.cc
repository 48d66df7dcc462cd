#include "widgets/label.h"

#include <algorithm>

#include "widgets/canvas.h"
#include "widgets/form.h"

namespace kav::widgets {
namespace {

// How far the text and its shadow lie from the label's corner.
struct Offsets {
    int textX = 0;
    int textY = 0;
    int shadowX = 0;
    int shadowY = 0;
};

Offsets ShadowOffsets(ShadowDirection direction, int size) {
    const bool left =
        direction == ShadowDirection::TopLeft || direction == ShadowDirection::BottomLeft;
    const bool up = direction == ShadowDirection::TopLeft || direction == ShadowDirection::TopRight;
    Offsets o;
    o.textX = left ? size : 0;
    o.textY = up ? size : 0;
    o.shadowX = o.textX + (left ? -size : size);
    o.shadowY = o.textY + (up ? -size : size);
    return o;
}

}  // namespace

std::vector<std::string> BreakLines(const std::string& text, int width,
                                    const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> paragraphs(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            paragraphs.emplace_back();
        } else {
            paragraphs.back() += text[i];
        }
    }
    if (width <= 0) return paragraphs;
    std::vector<std::string> lines;
    for (const std::string& paragraph : paragraphs) {
        std::string line;
        std::size_t start = 0;
        while (start <= paragraph.size()) {
            std::size_t end = paragraph.find(' ', start);
            if (end == std::string::npos) end = paragraph.size();
            const std::string word = paragraph.substr(start, end - start);
            const std::string longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && measure(longer) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = longer;
            }
            start = end + 1;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Label::Lines(Canvas* canvas) const {
    Backend* backend = Owner() != nullptr ? &Owner()->GetBackend() : nullptr;
    auto measure = [&](const std::string& s) {
        if (canvas != nullptr) return canvas->MeasureText(s, GetFont()).width;
        return backend != nullptr ? backend->MeasureText(s, GetFont()).width : 0;
    };
    return BreakLines(Caption(), wordWrap_ ? Width() - shadowSize_ : 0, measure);
}

void Label::AdjustSize() {
    if (!autoSize_ || Owner() == nullptr) return;
    Backend& backend = Owner()->GetBackend();
    const std::vector<std::string> lines = Lines(nullptr);
    int width = 0;
    int lineHeight = backend.MeasureText("", GetFont()).height;
    for (const std::string& line : lines)
        width = std::max(width, backend.MeasureText(line, GetFont()).width);
    const int height = lineHeight * static_cast<int>(lines.size()) + shadowSize_;
    if (wordWrap_) {
        SetHeight(height);
    } else {
        SetBounds(Left(), Top(), width + shadowSize_, height);
    }
}

void Label::Paint(Canvas& canvas) const {
    if (!transparent_) canvas.FillRect(Bounds{0, 0, Width(), Height()}, GetColor());
    const Offsets o = ShadowOffsets(direction_, shadowSize_);
    const int lineHeight = canvas.MeasureText("", GetFont()).height;
    int y = 0;
    for (const std::string& line : Lines(&canvas)) {
        const int free = Width() - shadowSize_ - canvas.MeasureText(line, GetFont()).width;
        const int x = alignment_ == Alignment::Left     ? 0
                      : alignment_ == Alignment::Center ? free / 2
                                                        : free;
        if (shadowSize_ > 0)
            canvas.DrawText(x + o.shadowX, y + o.shadowY, line, GetFont(), shadowColor_);
        canvas.DrawText(x + o.textX, y + o.textY, line, GetFont(), GetFont().color);
        y += lineHeight;
    }
}

void Label::SetShadowColor(Color color) {
    if (color == shadowColor_) return;
    shadowColor_ = color;
    Changed(Property::ShadowColor);
}

void Label::SetShadowSize(int size) {
    if (size == shadowSize_) return;
    shadowSize_ = size;
    Changed(Property::ShadowSize);
    AdjustSize();
}

void Label::SetDirection(ShadowDirection direction) {
    if (direction == direction_) return;
    direction_ = direction;
    Changed(Property::ShadowDirection);
}

void Label::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed(Property::Transparent);
}

void Label::SetAlignment(Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Changed(Property::Alignment);
}

void Label::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) return;
    wordWrap_ = wordWrap;
    Changed(Property::WordWrap);
    AdjustSize();
}

void Label::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    AdjustSize();
}

}  // namespace kav::widgets
