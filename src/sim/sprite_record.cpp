#include "sim/sprite_record.h"

#include <cstring>

namespace zoa {

const SpriteFieldInfo kSpriteFields[kSpriteFieldCount] = {
    {"type", 1},  {"srcX", 1},   {"srcY", 1},
    {"width", 1}, {"height", 1}, {"x", 1},
    {"y", 1},     {"frame", 1},  {"frames", kAnimationRows},
    {"row", 1},   {"sheetA", 1}, {"sheetB", 1},
    {"step", 1},  {"tick", 1},   {"frameDelay", 1},
    {"depth", 1}, {"life", 1},   {"gauge", 1},
    {"dir", 1},
};

int32_t* SpriteFieldWords(SpriteRecord& r, int32_t field) {
    switch (field) {
        case 0:
            return &r.type;
        case 1:
            return &r.srcX;
        case 2:
            return &r.srcY;
        case 3:
            return &r.width;
        case 4:
            return &r.height;
        case 5:
            return &r.x;
        case 6:
            return &r.y;
        case 7:
            return &r.frame;
        case 8:
            return r.frames;
        case 9:
            return &r.row;
        case 10:
            return &r.sheetA;
        case 11:
            return &r.sheetB;
        case 12:
            return &r.step;
        case 13:
            return &r.tick;
        case 14:
            return &r.frameDelay;
        case 15:
            return &r.depth;
        case 16:
            return &r.life;
        case 17:
            return &r.gauge;
        case 18:
            return &r.dir;
        default:
            return nullptr;
    }
}

const int32_t* SpriteFieldWords(const SpriteRecord& r, int32_t field) {
    return SpriteFieldWords(const_cast<SpriteRecord&>(r), field);
}

int32_t FindSpriteField(const char* name) {
    for (int32_t f = 0; f < kSpriteFieldCount; ++f) {
        if (std::strcmp(kSpriteFields[f].name, name) == 0) return f;
    }
    return -1;
}

}  // namespace zoa
