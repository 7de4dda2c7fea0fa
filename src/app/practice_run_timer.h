#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zoa {

// The practice overlay's run timer, in the recorded run's frames: the stage
// being played and the game since its first timed stage, and a split for each
// stage finished. The best split of each stage is kept in a file of the user
// folder, one line a stage: "stage <n> best <frames>".
class RunTimer {
  public:
    static constexpr int32_t kStages = 100;  // stages whose splits are kept

    struct Split {
        int32_t level = 0;
        uint32_t frames = 0;
    };

    // A new run: nothing timed yet; the best splits read from `splitsFile`
    // (empty: none are read or kept).
    void Start(std::string splitsFile);

    // After a frame, with the game's level and the run's frame count: a new
    // level starts its clock, and the one before it, when it was the level
    // just below, is a finished stage; the title ends the game being timed.
    // False, with the reason, when a new best split could not be saved.
    bool Follow(bool titleActive, int32_t level, uint32_t now, std::string* error);

    bool Timing() const { return timing_; }
    int32_t Level() const { return level_; }
    uint32_t StageFrames(uint32_t now) const { return now >= stageStart_ ? now - stageStart_ : 0; }
    uint32_t TotalFrames(uint32_t now) const {
        return now >= firstStageStart_ ? now - firstStageStart_ : 0;
    }
    // This game's finished stages, in order.
    const std::vector<Split>& Splits() const { return splits_; }
    // The best split of a stage so far; 0 for none.
    uint32_t Best(int32_t level) const;

  private:
    void LoadBest();
    bool SaveBest(std::string* error) const;

    std::string path_;
    int32_t level_ = 0;  // the stage being timed, 0 for none
    uint32_t stageStart_ = 0;
    uint32_t firstStageStart_ = 0;
    bool timing_ = false;
    std::vector<Split> splits_;
    std::vector<uint32_t> best_;
};

}  // namespace zoa
