// The stage compiler's text source: whatever compiles must be files the game
// reads back as they were written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/le_words.h"
#include "fuzz_check.h"
#include "play/stage_file.h"
#include "play/stage_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zoa;
    const std::string text(reinterpret_cast<const char*>(data), size);
    StageFile stage;
    TileMapFile map;
    std::string error;
    if (!CompileStageSource(text, stage, map, &error)) {
        ZOA_FUZZ_CHECK(error.rfind("line ", 0) == 0, "a source error does not name its line");
        return 0;
    }
    ZOA_FUZZ_CHECK(CheckStageFile(stage).empty(), "a compiled stage fails the writer's check");
    WordWriter stageBytes, mapBytes;
    WriteStageFile(stage, stageBytes);
    WriteTileMapFile(map, mapBytes);
    StageFile stageBack;
    TileMapFile mapBack;
    ZOA_FUZZ_CHECK(ReadStageFile(stageBytes.Data(), stageBack, &error) == StageRead::kOk,
                   "a compiled stage file is not read back");
    ZOA_FUZZ_CHECK(ReadTileMapFile(mapBytes.Data(), mapBack, &error),
                   "a compiled tile map is not read back");
    return 0;
}
