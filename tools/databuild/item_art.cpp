#include "item_art.h"

#include "painter.h"

namespace zoa::databuild {

void DrawItemFrame(int32_t type, int32_t frame, Canvas& c) {
    (void)type;
    (void)frame;
    Painter p(c);
    p.Ellipse(c.Width() / 2.0f, c.Height() / 2.0f, c.Width() / 2.0f - 2, c.Height() / 2.0f - 2,
              Mat(kLime));
}

}  // namespace zoa::databuild
