#pragma once
// A gradient caption bar: the colours a secondary window's caption is drawn
// in, from the start colour at the left to the end colour at the right, with
// the caption text in the text colour.
#include "widgets/types.h"

namespace kav::widgets {

struct TCaptionBar {
    Color ActiveStartColor = 0x000080;
    Color ActiveEndColor = 0x800000;
    Color ActiveTextColor = clWhite;

    bool operator==(const TCaptionBar&) const = default;
};

}  // namespace kav::widgets
