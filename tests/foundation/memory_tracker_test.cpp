#include "foundation/memory_tracker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <thread>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"

namespace tr {
namespace {

void* Block(std::size_t size) { return std::malloc(size); }

// Registered while this file's statics are built, normally before the
// foundation's objects, so it runs after their clean-up at exit: memory, the
// log and the string base must still be usable then (the sanitizers check it).
void UseFoundationLate() {
  delete[] new int[4];
  delete new std::string(100, 'x');
  ConsoleLog().LogLine(u"late line");
  (void)GetText("late_key");
}
[[maybe_unused]] const int gLateUse = std::atexit(&UseFoundationLate);

TEST(MemoryTracker, BucketHashUsesLowBits) {
  EXPECT_EQ(XMEMORY_MANAGER::BucketOf(reinterpret_cast<void*>(0x100)), 1792u);
  EXPECT_EQ(XMEMORY_MANAGER::BucketOf(reinterpret_cast<void*>(0x1234)), 1484u);
  EXPECT_EQ(XMEMORY_MANAGER::BucketOf(reinterpret_cast<void*>(0x7fff12345678)), 392u);
}

TEST(MemoryTracker, PlainReleasesReportNothing) {
  XMEMORY_MANAGER tracker;
  tracker.Deallocate(nullptr, false);
  tracker.Deallocate(Block(16), false);
  tracker.Deallocate(Block(16), true);
  EXPECT_EQ(tracker.Report().size(), 2u);  // the header and its empty line
  EXPECT_EQ(tracker.Report()[0], u"XMEMORY_MANAGER Report -------------------------------------------");
}

TEST(MemoryTracker, NamedReleasesReportFaults) {
  XMEMORY_MANAGER tracker;
  XMEMORY_MANAGER::SetDeallocationSource("a.cpp", 7);
  tracker.Deallocate(nullptr, false);

  void* unregistered = Block(8);
  XMEMORY_MANAGER::SetDeallocationSource("b.cpp", 9);
  tracker.Deallocate(unregistered, false);

  void* arrayBlock = Block(40);
  tracker.RegisterBlock(arrayBlock, 40, true, "c.cpp", 3);
  EXPECT_EQ(tracker.LiveBlocks(), 1u);
  EXPECT_EQ(tracker.LiveBytes(), 40u);
  const std::u16string pointer = Format(u"%08llx", reinterpret_cast<std::uintptr_t>(arrayBlock));
  XMEMORY_MANAGER::SetDeallocationSource("d.cpp", 11);
  tracker.Deallocate(arrayBlock, false);
  EXPECT_EQ(tracker.LiveBlocks(), 0u);
  EXPECT_EQ(tracker.LiveBytes(), 0u);

  const auto report = tracker.Report();
  ASSERT_EQ(report.size(), 5u);
  EXPECT_EQ(report[2],
            u"ERROR\n{\n\tAction: Deallocating memory\n\tInformation: Trying to free NULL pointer\n"
            u"\tDeallocation\n\t{\n\t\tFile: a.cpp\n\t\tLine: 7\n\t}\n}\n");
  EXPECT_NE(report[3].find(u"Memory allocation was not registered"), std::u16string::npos);
  EXPECT_NE(report[3].find(u"File: b.cpp"), std::u16string::npos);
  EXPECT_EQ(report[4], u"WARNING\n{\n\tAction: deallocating memory\n\tInformation: Memory was allocated "
                       u"by new[] and is deallocated by delete\n\tAllocation\n\t{\n\t\tFile: c.cpp\n\t\t"
                       u"Line: 3\n\t}\n\tDeallocation\n\t{\n\t\tFile: d.cpp\n\t\tLine: 11\n\t}\n\tPointer: " +
                           pointer + u"\n\tSize:40\n}\n");
  // Every digit of a 64-bit address is printed.
  EXPECT_GE(pointer.size(), 8u);
}

TEST(MemoryTracker, MatchingFormAndUnnamedReleasesStaySilent) {
  XMEMORY_MANAGER tracker;
  void* a = Block(4);
  void* b = Block(4);
  tracker.RegisterBlock(a, 4, false, "x.cpp", 1);
  tracker.RegisterBlock(b, 4, true, "x.cpp", 2);
  XMEMORY_MANAGER::SetDeallocationSource("y.cpp", 1);
  tracker.Deallocate(a, false);
  tracker.Deallocate(b, false);  // no source position named for this one
  EXPECT_EQ(tracker.Report().size(), 2u);
  EXPECT_EQ(tracker.FindEntry(a), nullptr);
  EXPECT_EQ(tracker.LiveBlocks(), 0u);
}

TEST(MemoryTracker, SharedBucketKeepsOtherEntries) {
  XMEMORY_MANAGER tracker;
  // Addresses 2048 apart with the same low byte share a bucket.
  const auto* base = reinterpret_cast<const char*>(0x10000);
  const void* p[3] = {base, base + 0x800000, base + 0x1000000};
  ASSERT_EQ(XMEMORY_MANAGER::BucketOf(p[0]), XMEMORY_MANAGER::BucketOf(p[1]));
  ASSERT_EQ(XMEMORY_MANAGER::BucketOf(p[0]), XMEMORY_MANAGER::BucketOf(p[2]));
  for (const void* q : p) tracker.RegisterBlock(q, 1, false, nullptr, 0);
  tracker.RemoveEntry(p[1]);
  EXPECT_NE(tracker.FindEntry(p[0]), nullptr);
  EXPECT_EQ(tracker.FindEntry(p[1]), nullptr);
  EXPECT_NE(tracker.FindEntry(p[2]), nullptr);
  tracker.RemoveEntry(p[2]);
  tracker.RegisterBlock(p[1], 1, false, nullptr, 0);  // appends after the new tail
  EXPECT_NE(tracker.FindEntry(p[1]), nullptr);
  tracker.Shutdown();  // frees the entries without touching the fake addresses
}

TEST(MemoryTracker, AfterShutdownReleasesGoToTheHeap) {
  XMEMORY_MANAGER tracker;
  tracker.Shutdown();
  EXPECT_FALSE(tracker.IsEnabled());
  XMEMORY_MANAGER::SetDeallocationSource("z.cpp", 1);
  tracker.Deallocate(Block(8), true);
  tracker.Deallocate(nullptr, true);
  EXPECT_EQ(tracker.Report().size(), 2u);
}

// The program's own operators go through the installed global tracker, from both threads.
TEST(MemoryTracker, GlobalOperatorsRelease) {
  EXPECT_TRUE(MemoryManager().IsEnabled());
  auto work = [] {
    for (int i = 0; i < 2000; ++i) {
      auto single = std::make_unique<int>(i);
      auto many = std::make_unique<int[]>(static_cast<std::size_t>(i % 17 + 1));
      struct alignas(64) Wide {
        char c[64];
      };
      auto wide = std::make_unique<Wide>();
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide.get()) % 64, 0u);
    }
  };
  std::thread other(work);
  work();
  other.join();
  EXPECT_EQ(MemoryManager().LiveBlocks(), 0u);
}

// The process's tracker is the one the program's own release operators use
// from start-up: a release its caller names is checked there.
TEST(MemoryTracker, NamedReleasesOfTheProgramGoToTheProcessTracker) {
  const std::size_t before = MemoryManager().Report().size();
  // Called by name: a new and delete pair may be left out altogether.
  void* block = ::operator new(29);
  XMEMORY_MANAGER::SetDeallocationSource("g.cpp", 23);
  ::operator delete(block);
  const std::vector<std::u16string> report = MemoryManager().Report();
  ASSERT_EQ(report.size(), before + 1);
  EXPECT_NE(report.back().find(u"Memory allocation was not registered"), std::u16string::npos);
  EXPECT_NE(report.back().find(u"File: g.cpp\n\t\tLine: 23"), std::u16string::npos);
}

}  // namespace
}  // namespace tr
