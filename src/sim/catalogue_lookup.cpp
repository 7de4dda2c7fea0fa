#include "sim/catalogue_lookup.h"

#include "sim/catalogue.h"

namespace zoa {

bool CatalogueRecord(int32_t type, int32_t x, int32_t y, SpriteRecord& out) {
    const CatalogueEntry* entry = FindCatalogueEntry(type);
    if (!entry) return false;
    out = CatalogueBase(*entry);
    out.x = x;
    out.y = y;
    if (entry->extra == Extra::kStartY) out.frames[2] = y;
    return true;
}

}  // namespace zoa
