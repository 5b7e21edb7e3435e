#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace notara {

/// Hands blocks of bytes from a thread that reads rows to one that builds from them, a few blocks
/// at a time: the two work at once, and what waits between them stays small.
class RowHandoff {
public:
    using Block = std::string;

    explicit RowHandoff(std::size_t blocks = 4, std::size_t blockBytes = 256 * 1024);
    RowHandoff(const RowHandoff&) = delete;
    RowHandoff& operator=(const RowHandoff&) = delete;

    /// The reading side: an empty block to fill, waiting for one; null once the building side
    /// has stopped.
    Block* take();
    void give(Block* filled);
    /// No more blocks will come.
    void finish();

    /// The building side: the next filled block, waiting for it; null after finish().
    Block* next();
    void recycle(Block* used);
    /// The building side gives up: take() returns null from now on.
    void stop();

private:
    template <class Change> void changeThenNotify(Change change) {
        {
            const std::lock_guard lock(mutex_);
            change();
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Block> blocks_;
    std::deque<Block*> empty_;
    std::deque<Block*> filled_;
    bool finished_ = false;
    bool stopped_ = false;
};

} // namespace notara
