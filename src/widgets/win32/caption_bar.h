#pragma once
// The gradient caption bar of a top-level window, painted over the caption
// the system has just drawn.
#include <windows.h>

#include <string>

#include "widgets/form.h"

namespace kav::widgets::win32 {

// The caption's area in window coordinates, without the system's caption
// buttons; empty for a window without a caption.
RECT CaptionArea(HWND window);
void PaintCaptionBar(HWND window, const Form::CaptionGradient& colors, const std::string& text);

}  // namespace kav::widgets::win32
