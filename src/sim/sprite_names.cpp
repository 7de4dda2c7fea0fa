#include "sim/sprite_names.h"

#include "sim/sprite_types.h"

namespace zoa {

const char* SpriteTypeName(int32_t type) {
    if (type >= kFirstJumpPad && type <= kLastJumpPad) return "jump pad";
    switch (type) {
        case kPlayer:
            return "hero";
        case kWalkerShooter:
            return "lobber";
        case kBomber:
            return "drone";
        case kFlamer:
            return "flamer";
        case kCrawler:
            return "crawler";
        case kBomberB:
            return "bat";
        case kWalkerShooterB:
            return "sentry";
        case kLifePickUp:
            return "life jar";
        case kSmallLifePickUp:
            return "small heart";
        case kGaugePickUp:
            return "fuel cell";
        case kLifePickUpB:
            return "mushroom";
        case kBigLifePickUp:
            return "gold heart";
        case kExtraLifePickUp:
            return "extra life";
        case kSpringPad:
            return "spring";
        case kSparkle:
            return "sparkle";
        case 1004:
            return "tree";
        case 1005:
            return "pine";
        case 1006:
            return "cactus";
        case 1016:
            return "boulder";
        case 1017:
            return "giant mushroom";
        case 1018:
            return "rock spire";
        case 1019:
            return "street lamp";
        case 1020:
            return "radio mast";
        default:
            return IsShotType(type) ? "shot" : "";
    }
}

}  // namespace zoa
