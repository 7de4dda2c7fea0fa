#include "preview.h"

#include <cstdio>
#include <string>
#include <vector>

#include "files/png_writer.h"
#include "interface_layout.h"
#include "palette_design.h"
#include "pixel_font.h"
#include "sim/world_map.h"

namespace zoa::databuild {

namespace {

// Formats a label (GCC 12 warns wrongly about chained string additions).
std::string Label(const char* format, int a, int b = 0, int c = 0) {
    char buf[48];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

struct Labelled {
    Rect rect;
    std::string label;
};

std::vector<Labelled> ReadRects(SheetId id) {
    std::vector<Labelled> out;
    switch (id) {
        case kSPgi:
        case kSPcca:
        case kSPccb:
        case kSPmca:
        case kSPmcb: {
            const SheetId drawn = id == kSPccb ? kSPcca : (id == kSPmcb ? kSPmca : id);
            const FramePlan plan = PlanFrames(drawn);
            for (const FrameSlot& s : plan.drawn)
                out.push_back({s.rect, s.frame == 0 ? Label("%d R%d", s.type, s.row) : ""});
            for (const FrameSlot& s : plan.skipped)
                out.push_back({s.rect, Label("X%d R%d F%d", s.type, s.row, s.frame)});
            if (id == kSPcca) out.push_back({kSpareLifeIcon, "ICON"});
            break;
        }
        case kSPmi:
            for (int i = 0; i < 4; ++i) out.push_back({kTitleItemPicture[i], Label("T%d", i)});
            for (int i = 0; i < 3; ++i) {
                Rect r = kPauseItemPicture[i];
                out.push_back({r, Label("P%d", i)});
                r.top += kPauseHighlightShift;
                r.bottom += kPauseHighlightShift;
                out.push_back({r, Label("PH%d", i)});
            }
            out.push_back({kPauseCursor, "CUR"});
            out.push_back({kLifeLabel, "L1"});
            out.push_back({kJetLabel, "L2"});
            out.push_back({kLifeBar, "BAR1"});
            out.push_back({kJetBar, "BAR2"});
            out.push_back({kStageLabel, "STG"});
            out.push_back({kDemoLabel, "DEMO"});
            out.push_back({kGameOverPicture, "OVER"});
            for (int d = 0; d < 10; ++d) out.push_back({DigitCell(d), std::to_string(d)});
            break;
        case kSPm:
            for (int i = 0; i < 4; ++i) {
                const Rect p = kTitleItemPicture[i];
                out.push_back({{kTitleItemAt[i].x, kTitleItemAt[i].y, kTitleItemAt[i].x + p.Width(),
                                kTitleItemAt[i].y + p.Height()},
                               Label("T%d", i)});
            }
            break;
        case kSPt:
            for (int n = 0; n < kTileCount; ++n) {
                const int x = (n % kTileSheetColumns) * kTileCellPitch + 1;
                const int y = (n / kTileSheetColumns) * kTileCellPitch + 1;
                out.push_back({{x, y, x + 32, y + 32}, std::to_string(n)});
            }
            break;
        case kSPb:
            for (int i = 0; i < 7; ++i) out.push_back({kBackgroundStrip[i], Label("STRIP %d", i)});
            break;
        default:
            break;
    }
    return out;
}

}  // namespace

bool WriteSheetPreview(const std::string& path, SheetId id, const Canvas& sheet) {
    constexpr uint8_t kCheckA = 248, kCheckB = 249;
    Palette pal = GamePalette();
    pal[kCheckA] = {40, 40, 52, 0};
    pal[kCheckB] = {56, 56, 70, 0};
    Canvas view = sheet;
    for (int y = 0; y < view.Height(); ++y)
        for (int x = 0; x < view.Width(); ++x)
            if (view.Get(x, y) == TransparentIndex && kSheetSpecs[id].keyed)
                view.Set(x, y, ((x / 8 + y / 8) % 2) ? kCheckA : kCheckB);
    for (const Labelled& l : ReadRects(id)) {
        const Rect& r = l.rect;
        const uint8_t c = l.label.rfind('X', 0) == 0 ? kUiRed : kUiCyan;
        for (int x = r.left - 1; x <= r.right; ++x) {
            view.Set(x, r.top - 1, c);
            view.Set(x, r.bottom, c);
        }
        for (int y = r.top - 1; y <= r.bottom; ++y) {
            view.Set(r.left - 1, y, c);
            view.Set(r.right, y, c);
        }
        if (!l.label.empty()) {
            const int w = TextWidth(l.label, 1);
            view.FillRect({r.left, r.top, r.left + w + 2, r.top + 9}, kUiNavy);
            DrawPlainText(view, r.left + 1, r.top + 1, l.label, kUiGold);
        }
    }
    return WritePng(path, view.Pixels().data(), view.Width(), view.Height(), pal);
}

}  // namespace zoa::databuild
