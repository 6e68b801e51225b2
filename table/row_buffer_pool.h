#pragma once
// Private to table/: the blocks that the reader takes row buffers from.

#include <cstddef>
#include <cstdint>
#include <new>

namespace kartex {

// The reader allocates the buffers of the rows it fills from blocks of
// 2 MiB instead of one heap allocation per row. A block is aligned to its
// size, so a buffer finds its block by rounding its address down. A block
// counts its live buffers and goes back to the system with the last one; space of buffers freed
// earlier is not reused (a row that is edited gets an ordinary heap buffer), so a block costs at
// most what the rows read into it took.
class RowBufferPool {
 public:
  static constexpr size_t kBlockSize = size_t{2} << 20;
  // Rows go to ordinary heap buffers until a read has produced this much,
  // so that a small file does not take a whole block.
  static constexpr size_t kStartAfter = size_t{256} << 10;
  // Larger buffers always come from the heap.
  static constexpr size_t kLargestPooled = size_t{64} << 10;

  RowBufferPool() = default;
  ~RowBufferPool() { Close(); }
  RowBufferPool(const RowBufferPool&) = delete;
  RowBufferPool& operator=(const RowBufferPool&) = delete;

  // A buffer of the given size, or nullptr when it should come from the heap.
  char* Allocate(size_t bytes) {
    if (bytes > kLargestPooled) return nullptr;
    if (heapBytes_ < kStartAfter) {
      heapBytes_ += bytes;
      return nullptr;
    }
    if (block_ == nullptr || block_->used + bytes > kBlockSize) {
      Close();
      block_ = NewBlock();
      if (block_ == nullptr) return nullptr;
    }
    char* buffer = reinterpret_cast<char*>(block_) + block_->used;
    block_->used += bytes;
    ++block_->live;
    return buffer;
  }

  static void Free(char* buffer) noexcept {
    auto* block = reinterpret_cast<Block*>(reinterpret_cast<uintptr_t>(buffer) & ~(kBlockSize - 1));
    if (--block->live == 0) ReleaseBlock(block);
  }

 private:
  struct alignas(64) Block {
    size_t live;  // buffers in use, plus one while the pool still fills the block
    size_t used;  // bytes handed out, this header included
  };

  void Close() noexcept {
    if (block_ != nullptr && --block_->live == 0) ReleaseBlock(block_);
    block_ = nullptr;
  }

  static Block* NewBlock() {
    void* memory = ::operator new (kBlockSize, std::align_val_t{kBlockSize}, std::nothrow);
    if (memory == nullptr) return nullptr;
    auto* block = new (memory) Block;
    block->live = 1;
    block->used = sizeof(Block);
    return block;
  }

  static void ReleaseBlock(Block* block) noexcept {
    ::operator delete (block, std::align_val_t{kBlockSize});
  }

  Block* block_ = nullptr;
  size_t heapBytes_ = 0;
};

}  // namespace kartex
