#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zoa {

// The game's own files are sequences of little-endian 32-bit words. A reader
// over a byte block that reads 0 past the end and remembers that it did.
class WordReader {
  public:
    WordReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint32_t Unsigned() {
        if (pos_ + 4 > size_) {
            pos_ = size_;
            overrun_ = true;
            return 0;
        }
        const uint8_t* p = data_ + pos_;
        pos_ += 4;
        return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    }
    int32_t Signed() { return static_cast<int32_t>(Unsigned()); }
    bool Overrun() const { return overrun_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool overrun_ = false;
};

class WordWriter {
  public:
    void Unsigned(uint32_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
        bytes_.push_back(static_cast<uint8_t>(v >> 16));
        bytes_.push_back(static_cast<uint8_t>(v >> 24));
    }
    void Signed(int32_t v) { Unsigned(static_cast<uint32_t>(v)); }
    void Bytes(const char* text, size_t n) {
        const size_t at = bytes_.size();
        bytes_.resize(at + n);
        for (size_t i = 0; i < n; ++i) bytes_[at + i] = static_cast<uint8_t>(text[i]);
    }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    // Writes the words to `path`; false when the file cannot be written whole.
    bool WriteFile(const std::string& path) const;

  private:
    std::vector<uint8_t> bytes_;
};

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);

}  // namespace zoa
