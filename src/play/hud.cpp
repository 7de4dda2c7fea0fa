#include "play/hud.h"

#include "gfx/display.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"

namespace zoa {

namespace {

// Pictures on the interface sheet unless said otherwise.
constexpr Rect kLifeLabel{321, 107, 383, 136};
constexpr Point kLifeLabelAt{24, 13};
constexpr Point kLifeBarAt{90, 20};
constexpr Rect kGaugeLabel{321, 137, 383, 166};
constexpr Point kGaugeLabelAt{24, 36};
constexpr Point kGaugeBarAt{90, 42};
constexpr Rect kSpareLifeIcon{30, 30, 95, 105};  // on the player's sheet
constexpr Point kFirstSpareLifeAt{24, 57};
constexpr int32_t kSpareLifePitch = 65;
constexpr Rect kStageLabel{384, 107, 458, 142};
constexpr Point kStageLabelAt{280, 4};
constexpr Point kStageNumberAt{352, 4};
constexpr Rect kDemoLabel{393, 143, 448, 169};
constexpr Point kDemoLabelAt{296, 4};
constexpr Rect kGameOver{1, 426, 349, 479};
constexpr Point kGameOverAt{146, 214};

// Digit d is a 31 x 31 cell at (32 d + 1, 209).
constexpr int32_t kDigitPitch = 32;
constexpr int32_t kDigitTop = 209;
constexpr int32_t kDigitSize = 31;
constexpr int32_t kDigitSpacing = 20;  // digits overlap by 11 pixels

void Blit(uint32_t sheet, Rect src, Point at) {
    g_display->Blit(at, sheet, src);
}
uint32_t Interface() {
    return static_cast<uint32_t>(game.SurfaceSPmi);
}

void DrawDigit(int32_t x, int32_t y, uint32_t d) {
    const int32_t left = kDigitPitch * static_cast<int32_t>(d) + 1;
    Blit(Interface(), {left, kDigitTop, left + kDigitSize, kDigitTop + kDigitSize}, {x, y});
}

// The bar is a band of the sheet as long as the value; 0 or less draws nothing.
Rect Bar(int32_t top, int32_t bottom, int32_t value) {
    return {1, top, 1 + value, bottom};
}

void DrawSpareLives() {
    // One icon per life beyond the one in play; icons past the screen's right
    // edge could not be drawn anyway.
    for (int32_t i = 0; i <= game.Lives - 2; ++i) {
        const int32_t x = kFirstSpareLifeAt.x + kSpareLifePitch * i;
        if (x > kScreenWidth - kSpareLifeIcon.Width()) break;
        Blit(static_cast<uint32_t>(game.SurfaceSPcca), kSpareLifeIcon, {x, kFirstSpareLifeAt.y});
    }
}

}  // namespace

void DrawNumber(int32_t x, int32_t y, int32_t n) {
    const uint32_t value = static_cast<uint32_t>(n);
    if (value >= 1000) return;
    if (value >= 100) {
        DrawDigit(x, y, value / 100);
        DrawDigit(x + kDigitSpacing, y, value / 10 % 10);
        DrawDigit(x + 2 * kDigitSpacing, y, value % 10);
    } else if (value >= 10) {
        DrawDigit(x, y, value / 10);
        DrawDigit(x + kDigitSpacing, y, value % 10);
    } else {
        DrawDigit(x, y, value);
    }
}

void DrawHud() {
    static const SpriteRecord kNoPlayer{};
    const SpriteRecord& player = IsPoolSlot(game.PlayerIndex) ? pool[game.PlayerIndex] : kNoPlayer;
    Blit(Interface(), kLifeLabel, kLifeLabelAt);
    Blit(Interface(), Bar(258, 275, player.life), kLifeBarAt);
    Blit(Interface(), kGaugeLabel, kGaugeLabelAt);
    Blit(Interface(), Bar(277, 294, player.gauge), kGaugeBarAt);
    if (game.Lives >= 2) DrawSpareLives();
    if (game.Level != 0) {
        Blit(Interface(), kStageLabel, kStageLabelAt);
        DrawNumber(kStageNumberAt.x, kStageNumberAt.y, game.Level);
    } else {
        Blit(Interface(), kDemoLabel, kDemoLabelAt);
    }
    if (player.life < 1 && game.Lives < 2) Blit(Interface(), kGameOver, kGameOverAt);
}

}  // namespace zoa
