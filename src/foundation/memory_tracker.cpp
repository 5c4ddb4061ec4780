#include "foundation/memory_tracker.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include "foundation/format.h"

namespace tr {
namespace {

constinit std::atomic<XMEMORY_MANAGER*> gInstalled{nullptr};

// The release being reported, per thread: both threads free memory.
thread_local const char* tDeallocFile = nullptr;
thread_local int tDeallocLine = 0;
// Set while this thread is inside the tracker: the report's own allocations
// are released straight to the heap instead of re-entering it.
thread_local bool tInside = false;

constexpr char16_t kReportHeader[] =
    u"XMEMORY_MANAGER Report -------------------------------------------";

}  // namespace

void* AllocateRaw(std::size_t size) {
  if (size == 0) size = 1;
  for (;;) {
    if (void* p = std::malloc(size)) return p;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

XMEMORY_MANAGER::XMEMORY_MANAGER() {
  buckets_ = static_cast<sBucket*>(std::calloc(kBucketCount, sizeof(sBucket)));
  enabled_ = buckets_ != nullptr;
  report_.emplace_back(kReportHeader);
  report_.emplace_back();
}

XMEMORY_MANAGER::~XMEMORY_MANAGER() {
  if (gInstalled.load() == this) InstallMemoryTracker(nullptr);
  Shutdown();
}

void XMEMORY_MANAGER::Shutdown() {
  std::lock_guard<std::mutex> lock(mutex_);
  enabled_ = false;
  if (!buckets_) return;
  for (std::size_t b = 0; b < kBucketCount; ++b) {
    for (sBlockEntry* e = buckets_[b].head; e;) {
      sBlockEntry* next = e->next;
      std::free(e);
      e = next;
    }
  }
  std::free(buckets_);
  buckets_ = nullptr;
  liveBlocks_ = 0;
  liveBytes_ = 0;
}

std::size_t XMEMORY_MANAGER::BucketOf(const void* p) {
  const auto low = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
  return static_cast<std::uint32_t>((low & 0xFF) * 0x50000u - low) % kBucketCount;
}

void XMEMORY_MANAGER::SetDeallocationSource(const char* file, int line) {
  tDeallocFile = file;
  tDeallocLine = line;
}

void XMEMORY_MANAGER::RegisterBlock(const void* p, std::size_t size, bool isArray,
                                    const char* file, int line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!enabled_) return;
  auto* entry = static_cast<sBlockEntry*>(std::malloc(sizeof(sBlockEntry)));
  if (!entry) return;
  *entry = sBlockEntry{p, size, isArray, file, line, nullptr};
  sBucket& bucket = buckets_[BucketOf(p)];
  (bucket.tail ? bucket.tail->next : bucket.head) = entry;
  bucket.tail = entry;
  ++bucket.count;
  ++liveBlocks_;
  liveBytes_ += size;
}

const XMEMORY_MANAGER::sBlockEntry* XMEMORY_MANAGER::FindEntry(const void* p) const {
  if (!buckets_) return nullptr;
  for (const sBlockEntry* e = buckets_[BucketOf(p)].head; e; e = e->next) {
    if (e->address == p) return e;
  }
  return nullptr;
}

void XMEMORY_MANAGER::RemoveEntry(const void* p) {
  if (!buckets_) return;
  sBucket& bucket = buckets_[BucketOf(p)];
  sBlockEntry* previous = nullptr;
  for (sBlockEntry* e = bucket.head; e; previous = e, e = e->next) {
    if (e->address != p) continue;
    (previous ? previous->next : bucket.head) = e->next;
    if (bucket.tail == e) bucket.tail = previous;
    --bucket.count;
    std::free(e);
    return;
  }
}

void XMEMORY_MANAGER::Deallocate(void* p, bool isArray) {
  const char* file = tDeallocFile;
  const int line = tDeallocLine;
  tDeallocFile = nullptr;
  tDeallocLine = 0;
  // Nothing registered and nothing to report: the common case costs no lock.
  if (tInside || !enabled_ || (liveBlocks_.load(std::memory_order_relaxed) == 0 && !file)) {
    std::free(p);
    return;
  }
  tInside = true;
  DeallocateTracked(p, isArray, file, line);
  tInside = false;
}

void XMEMORY_MANAGER::DeallocateTracked(void* p, bool isArray, const char* file, int line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!p) {
    if (file) {
      AddReport(Format(u"ERROR\n{\n\tAction: Deallocating memory\n\tInformation: Trying to free NULL "
                       u"pointer\n\tDeallocation\n\t{\n\t\tFile: %s\n\t\tLine: %d\n\t}\n}\n",
                       file, line));
    }
    return;
  }
  const auto address = reinterpret_cast<std::uintptr_t>(p);
  const sBlockEntry* entry = FindEntry(p);
  if (!entry) {
    if (file) {
      AddReport(Format(u"WARNING\n{\n\tAction: Deallocating memory\n\tInformation: Memory allocation "
                       u"was not registered\n\tDeallocation\n\t{\n\t\tFile: %s\n\t\tLine: %d\n\t}\n"
                       u"\tPointer: %08llx\n}\n",
                       file, line, address));
    }
    std::free(p);
    return;
  }
  if (file && entry->isArray != isArray) {
    const char16_t* what = entry->isArray
                               ? u"Memory was allocated by new[] and is deallocated by delete"
                               : u"Memory was allocated by new and is deallocated by delete[]";
    AddReport(Format(u"WARNING\n{\n\tAction: deallocating memory\n\tInformation: %s\n\tAllocation\n\t{\n"
                     u"\t\tFile: %s\n\t\tLine: %d\n\t}\n\tDeallocation\n\t{\n\t\tFile: %s\n\t\tLine: "
                     u"%d\n\t}\n\tPointer: %08llx\n\tSize:%d\n}\n",
                     what, entry->file ? entry->file : "", entry->line, file, line, address,
                     entry->size));
  }
  --liveBlocks_;
  liveBytes_ -= entry->size;
  RemoveEntry(p);
  std::free(p);
}

void XMEMORY_MANAGER::AddReport(std::u16string text) {
  report_.push_back(std::u16string(static_cast<std::size_t>(indent_), u'\t') + std::move(text));
}

std::size_t XMEMORY_MANAGER::LiveBlocks() const { return liveBlocks_.load(); }

std::size_t XMEMORY_MANAGER::LiveBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return liveBytes_;
}

std::vector<std::u16string> XMEMORY_MANAGER::Report() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return report_;
}

void InstallMemoryTracker(XMEMORY_MANAGER* tracker) { gInstalled.store(tracker); }

}  // namespace tr

// The program's global allocation and release operators. Every form is
// replaced, so memory from these operators is always released by them.
namespace {

void Release(void* p, bool isArray) noexcept {
  if (tr::XMEMORY_MANAGER* tracker = tr::gInstalled.load(std::memory_order_acquire)) {
    tracker->Deallocate(p, isArray);
  } else {
    std::free(p);
  }
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  const auto align = static_cast<std::size_t>(alignment);
  if (size == 0) size = 1;
  size = (size + align - 1) / align * align;
  for (;;) {
    if (void* p = std::aligned_alloc(align, size)) return p;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

}  // namespace

void* operator new(std::size_t size) { return tr::AllocateRaw(size); }
void* operator new[](std::size_t size) { return tr::AllocateRaw(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return tr::AllocateRaw(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return tr::AllocateRaw(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t al) { return AllocateAligned(size, al); }
void* operator new[](std::size_t size, std::align_val_t al) { return AllocateAligned(size, al); }
void* operator new(std::size_t size, std::align_val_t al, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(size, al);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, std::align_val_t al, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(size, al);
  } catch (...) {
    return nullptr;
  }
}

void operator delete(void* p) noexcept { Release(p, false); }
void operator delete[](void* p) noexcept { Release(p, true); }
void operator delete(void* p, std::size_t) noexcept { Release(p, false); }
void operator delete[](void* p, std::size_t) noexcept { Release(p, true); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p, false); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p, true); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p, false); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p, true); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Release(p, false); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Release(p, true); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p, false); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p, true); }
