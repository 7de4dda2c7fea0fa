#include "app/practice_run_timer.h"

#include <cstdio>
#include <utility>

#include "files/replace_file.h"
#include "files/utf8_path.h"

namespace zoa {

void RunTimer::Start(std::string splitsFile) {
    *this = RunTimer{};
    path_ = std::move(splitsFile);
    splits_.reserve(kStages);
    LoadBest();
}

uint32_t RunTimer::Best(int32_t level) const {
    return level > 0 && static_cast<size_t>(level) < best_.size()
               ? best_[static_cast<size_t>(level)]
               : 0;
}

bool RunTimer::Follow(bool titleActive, int32_t level, uint32_t now, std::string* error) {
    if (titleActive) {
        timing_ = false;
        level_ = 0;
        splits_.clear();
        return true;
    }
    if (level == level_) return true;
    bool saved = true;
    if (timing_ && level == level_ + 1 && now >= stageStart_) {
        const uint32_t frames = now - stageStart_;
        splits_.push_back({level_, frames});
        if (level_ > 0 && level_ < kStages) {
            uint32_t& b = best_[static_cast<size_t>(level_)];
            if (b == 0 || frames < b) {
                b = frames;
                saved = SaveBest(error);
            }
        }
    }
    if (!timing_) firstStageStart_ = now;
    timing_ = true;
    level_ = level;
    stageStart_ = now;
    return saved;
}

void RunTimer::LoadBest() {
    best_.assign(kStages, 0);
    if (path_.empty()) return;
    std::FILE* f = files::OpenFile(path_, "r");
    if (!f) return;
    // One "stage N best F" a line; the file starts with a comment line, and
    // any other line a person may have added is passed over, not the end.
    char line[128];
    while (std::fgets(line, sizeof line, f)) {
        int level = 0;
        unsigned frames = 0;
        if (std::sscanf(line, " stage %d best %u", &level, &frames) == 2 && level > 0 &&
            level < kStages)
            best_[static_cast<size_t>(level)] = frames;
    }
    std::fclose(f);
}

bool RunTimer::SaveBest(std::string* error) const {
    if (path_.empty()) return true;
    std::string text = "# The best time of each stage, in frames (practice overlay).\n";
    for (int32_t level = 1; level < kStages; ++level) {
        const uint32_t b = best_[static_cast<size_t>(level)];
        if (b) text += "stage " + std::to_string(level) + " best " + std::to_string(b) + "\n";
    }
    return files::ReplaceFile(path_, {text.begin(), text.end()}, error);
}

}  // namespace zoa
