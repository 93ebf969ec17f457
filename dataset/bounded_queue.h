#pragma once
// Work handed from one producer to several workers through a queue of fixed capacity: the producer
// waits while it is full, so what waits never grows with the work.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace lexorant {

template <typename T> class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

    void Push(T item) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [&] { return items_.size() < capacity_; });
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
    }

    // No more items will come; Pop then gives nothing once the queue is empty.
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
    }

    std::optional<T> Pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [&] { return !items_.empty() || closed_; });
        if (items_.empty())
            return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

private:
    std::mutex mutex_;
    std::condition_variable notEmpty_, notFull_;
    std::deque<T> items_;
    std::size_t capacity_;
    bool closed_ = false;
};

} // namespace lexorant
