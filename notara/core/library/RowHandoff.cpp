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
    changeThenNotify([&] { filled_.push_back(filled); });
}

void RowHandoff::finish() {
    changeThenNotify([&] { finished_ = true; });
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
    changeThenNotify([&] { empty_.push_back(used); });
}

void RowHandoff::stop() {
    changeThenNotify([&] { stopped_ = true; });
}

} // namespace notara
