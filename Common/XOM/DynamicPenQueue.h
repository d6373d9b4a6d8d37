#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The pens that the colour pen model may redefine, oldest first. A singly linked list threaded
// through a fixed table indexed by pen number, so taking the head and putting it at the tail
// allocates nothing. A pen is in the queue at most once.
class DynamicPenQueue {
  public:
    static constexpr int kNone = -1;

    DynamicPenQueue() { Clear(); }

    void Clear();
    // The 96 reusable pens in their initial order: 19, 29, ..., 249; 18, ..., 248; 17, ..., 247;
    // 16, ..., 246.
    void BuildInitial();
    // Appends a pen (1..255) that is not yet queued; other values and duplicates are ignored.
    void PushBack(int pen);
    // Moves the head to the tail and returns it; kNone when the queue is empty.
    int RotateHead();

    int Head() const { return head_; }
    int Tail() const { return tail_; }
    int Count() const { return count_; }
    bool Contains(int pen) const;
    // Head to tail, for tests and diagnostics.
    std::vector<int> ToVector() const;

  private:
    std::array<int16_t, 256> next_{};
    std::array<bool, 256> queued_{};
    int head_ = kNone;
    int tail_ = kNone;
    int count_ = 0;
};
