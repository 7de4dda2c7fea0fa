#pragma once
#include <array>
#include <cstddef>

#include "platform/message.h"

namespace zoa::platform {

// A fixed-size first-in first-out queue of window messages. When it is full the
// oldest input is dropped rather than allocating: a frozen game must not grow.
class MessageQueue {
  public:
    static constexpr size_t kCapacity = 1024;

    void Post(const Message& message);
    bool Peek(Message& out) const;
    bool Take(Message& out);
    bool Empty() const { return count_ == 0; }
    void Clear() { head_ = count_ = 0; }

  private:
    std::array<Message, kCapacity> ring_{};
    size_t head_ = 0;
    size_t count_ = 0;
};

}  // namespace zoa::platform
