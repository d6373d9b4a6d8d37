#include "Common/XOM/DynamicPenQueue.h"

void DynamicPenQueue::Clear() {
    next_.fill(kNone);
    queued_.fill(false);
    head_ = kNone;
    tail_ = kNone;
    count_ = 0;
}

void DynamicPenQueue::BuildInitial() {
    Clear();
    for (int start = 19; start >= 16; --start) {
        for (int pen = start; pen < 250; pen += 10) PushBack(pen);
    }
}

void DynamicPenQueue::PushBack(int pen) {
    if (pen < 1 || pen > 255 || queued_[pen]) return;
    queued_[pen] = true;
    next_[pen] = kNone;
    if (tail_ == kNone) {
        head_ = pen;
    } else {
        next_[tail_] = static_cast<int16_t>(pen);
    }
    tail_ = pen;
    ++count_;
}

int DynamicPenQueue::RotateHead() {
    const int pen = head_;
    if (pen == kNone || head_ == tail_) return pen;
    head_ = next_[pen];
    next_[pen] = kNone;
    next_[tail_] = static_cast<int16_t>(pen);
    tail_ = pen;
    return pen;
}

bool DynamicPenQueue::Contains(int pen) const {
    return pen >= 0 && pen < 256 && queued_[pen];
}

std::vector<int> DynamicPenQueue::ToVector() const {
    std::vector<int> pens;
    pens.reserve(static_cast<std::size_t>(count_));
    for (int pen = head_; pen != kNone; pen = next_[pen]) pens.push_back(pen);
    return pens;
}
