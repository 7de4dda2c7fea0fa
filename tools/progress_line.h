#pragma once
// One line of progress for long tool runs (the bot, the soak), rewritten in
// place on a terminal a few times a second. When standard error is not a
// terminal (a CI log, a file) it prints nothing, so logs keep only results.
#include <unistd.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>

namespace zoa::tools {

class ProgressLine {
  public:
    ProgressLine() : shown_(isatty(STDERR_FILENO) != 0) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() { Clear(); }

    bool Shown() const { return shown_; }

    // Seconds since the line was made: for estimates of the time left.
    double Elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

    // Whether a new text is due (at most ten a second): lets a caller skip
    // working out a text that would not be shown.
    bool Due() const { return shown_ && Clock::now() - last_ >= std::chrono::milliseconds(100); }

    // Replaces the line with the text, when due.
    __attribute__((format(printf, 2, 3))) void Show(const char* format, ...) {
        if (!Due()) return;
        last_ = Clock::now();
        std::fputs("\r", stderr);
        va_list args;
        va_start(args, format);
        std::vfprintf(stderr, format, args);
        va_end(args);
        std::fputs("\033[K", stderr);  // erase what a longer text left
        std::fflush(stderr);
        drawn_ = true;
    }

    // Removes the line, before other output or at the end.
    void Clear() {
        if (!drawn_) return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        drawn_ = false;
        last_ = {};
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool shown_;
    bool drawn_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

// "1 h 02 min", "4 min 05 s", "12 s": a time left for a progress line.
inline void FormatSeconds(double seconds, char* out, size_t size) {
    const long s = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
    if (s >= 3600)
        std::snprintf(out, size, "%ld h %02ld min", s / 3600, s / 60 % 60);
    else if (s >= 60)
        std::snprintf(out, size, "%ld min %02ld s", s / 60, s % 60);
    else
        std::snprintf(out, size, "%ld s", s);
}

}  // namespace zoa::tools
