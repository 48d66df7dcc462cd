#include "widgets/painter.h"

#include "widgets/form.h"

namespace kav::widgets {

void PaintSurface(WindowCanvas& canvas, const Form& form, const Control* container, int width,
                  int height) {
    const Bounds whole{0, 0, width, height};
    canvas.SetArea(whole);
    canvas.FillRect(whole, container != nullptr ? container->GetColor() : form.GetColor());
    if (container != nullptr) container->Paint(canvas);
    for (const Control* c : form.Controls()) {
        if (c->Parent() != container || !c->Windowless() || !c->Visible()) continue;
        canvas.SetArea(c->Placement());
        c->Paint(canvas);
    }
}

}  // namespace kav::widgets
