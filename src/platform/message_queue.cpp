#include "platform/message_queue.h"

namespace zoa::platform {

void MessageQueue::Post(const Message& message) {
    if (count_ == kCapacity) {
        head_ = (head_ + 1) % kCapacity;
        --count_;
    }
    ring_[(head_ + count_) % kCapacity] = message;
    ++count_;
}

bool MessageQueue::Peek(Message& out) const {
    if (count_ == 0) return false;
    out = ring_[head_];
    return true;
}

bool MessageQueue::Take(Message& out) {
    if (!Peek(out)) return false;
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
}

}  // namespace zoa::platform
