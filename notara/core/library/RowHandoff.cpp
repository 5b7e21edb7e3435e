#include "notara/core/library/RowHandoff.h"

namespace notara {

RowHandoff::RowHandoff(std::size_t blocks, std::size_t blockBytes) : blocks_(blocks) {
    for (Block& block : blocks_) {
        block.reserve(blockBytes);
        empty_.push_back(&block);
    }
}

RowHandoff::Block* RowHandoff::take() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || !empty_.empty(); });
    if (stopped_) return nullptr;
    Block* block = empty_.front();
    empty_.pop_front();
    block->clear();
    return block;
}

void RowHandoff::give(Block* filled) {
    {
        const std::lock_guard lock(mutex_);
        filled_.push_back(filled);
    }
    changed_.notify_all();
}

void RowHandoff::finish() {
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
}

RowHandoff::Block* RowHandoff::next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return finished_ || !filled_.empty(); });
    if (filled_.empty()) return nullptr;
    Block* block = filled_.front();
    filled_.pop_front();
    return block;
}

void RowHandoff::recycle(Block* used) {
    {
        const std::lock_guard lock(mutex_);
        empty_.push_back(used);
    }
    changed_.notify_all();
}

void RowHandoff::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

} // namespace notara
