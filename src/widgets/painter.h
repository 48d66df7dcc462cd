#pragma once
// What a window shows of the model below its child windows, painted the
// same way by every back end: its background colour, the decoration of the
// container it shows (a bevel, a group frame), and its windowless controls
// in creation order, so that a later one is drawn over an earlier one.
#include "widgets/canvas.h"

namespace kav::widgets {

class Control;
class Form;

// A canvas over a whole window whose drawing can be moved and clipped to
// one control's area (in the window's coordinates).
class WindowCanvas : public Canvas {
public:
    virtual void SetArea(const Bounds& area) = 0;
};

// Paints the surface of the form's own window (`container` null) or of the
// container's window, `width` x `height` pixels.
void PaintSurface(WindowCanvas& canvas, const Form& form, const Control* container, int width,
                  int height);

}  // namespace kav::widgets
