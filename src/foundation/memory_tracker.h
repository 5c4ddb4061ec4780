// Debugging aid behind the global release operators: a table of registered heap
// blocks (address, size, array form, allocation file and line) that reports bad
// releases - a null pointer, a block never registered, new[] released by delete
// or the other way round - while a caller has named the release's source
// position. Allocation goes straight to the runtime heap (AllocateRaw), and the
// release operators of the whole program call Deallocate on the installed tracker.
#pragma once

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tr {

// The global allocation operators' heap: malloc, with the standard retry on failure.
void* AllocateRaw(std::size_t size);

class XMEMORY_MANAGER {
 public:
  static constexpr std::size_t kBucketCount = 2048;

  struct sBlockEntry {
    const void* address;
    std::size_t size;
    bool isArray;
    const char* file;
    int line;
    sBlockEntry* next;
  };

  XMEMORY_MANAGER();
  ~XMEMORY_MANAGER();
  XMEMORY_MANAGER(const XMEMORY_MANAGER&) = delete;
  XMEMORY_MANAGER& operator=(const XMEMORY_MANAGER&) = delete;

  // Frees p (unless it is null), reporting what is wrong with the release.
  void Deallocate(void* p, bool isArray);

  void RegisterBlock(const void* p, std::size_t size, bool isArray, const char* file, int line);
  // The entry of p, or nullptr; the pointer is valid until the entry is removed.
  const sBlockEntry* FindEntry(const void* p) const;
  void RemoveEntry(const void* p);

  // Names the source position of this thread's next release; cleared by it.
  static void SetDeallocationSource(const char* file, int line);

  // Frees the table; afterwards releases go straight to the heap.
  void Shutdown();
  bool IsEnabled() const { return enabled_; }

  std::size_t LiveBlocks() const;
  std::size_t LiveBytes() const;
  std::vector<std::u16string> Report() const;

  // Bucket of an address: the original hash over its low 32 bits.
  static std::size_t BucketOf(const void* p);

 private:
  struct sBucket {
    sBlockEntry* head;
    sBlockEntry* tail;
    std::size_t count;
  };

  void AddReport(std::u16string text);
  void DeallocateTracked(void* p, bool isArray, const char* file, int line);

  mutable std::mutex mutex_;
  sBucket* buckets_ = nullptr;  // malloc'd, so the table never recurses into the operators
  std::atomic<bool> enabled_{false};
  std::atomic<std::size_t> liveBlocks_{0};
  std::size_t liveBytes_ = 0;
  std::vector<std::u16string> report_;
  int indent_ = 0;
};

// The tracker the global release operators use; nullptr sends them straight to the heap.
void InstallMemoryTracker(XMEMORY_MANAGER* tracker);

// The global tracker, installed from before start-up until the process exits.
XMEMORY_MANAGER& MemoryManager();

}  // namespace tr
