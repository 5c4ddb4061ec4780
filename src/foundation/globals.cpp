// The foundation's process-wide objects, defined in one place so that their
// order is certain: they are built together, in the order below, before the
// entry function runs (or earlier, on the first use from another static
// initialiser), and their clean-up runs at exit in the reverse order.
//
// The objects themselves are never destroyed: the worker thread or a late
// static destructor may still log or free memory after the clean-up, and must
// then find a closed log and a switched-off tracker rather than dead objects.
#include <atomic>
#include <cstdlib>
#include <new>

#include "foundation/console_log.h"
#include "foundation/log_sink.h"
#include "foundation/memory_tracker.h"
#include "foundation/scoped_string_base.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"

namespace tr {
namespace {

struct sFoundationGlobals {
  // The delay-preferences table comes first; it is a constant (gDelaySettings).
  cConsoleLog consoleLog;
  cStringBase stringBase;
  XMEMORY_MANAGER memoryManager;
  cIniFile settingsIni;
};

void SinkToConsoleLog(std::u16string_view line);

sFoundationGlobals& Globals() {
  alignas(sFoundationGlobals) static unsigned char storage[sizeof(sFoundationGlobals)];
  static sFoundationGlobals* globals = [] {
    auto* built = new (storage) sFoundationGlobals();
    InstallMemoryTracker(&built->memoryManager);
    SetLogSink(&SinkToConsoleLog);
    std::atexit([] {
      // Reverse order: the settings object holds nothing open, the tracker is
      // switched off, the string base keeps its texts for late lookups, the log closes.
      sFoundationGlobals& g = Globals();
      InstallMemoryTracker(nullptr);
      g.memoryManager.Shutdown();
      SetLogSink(nullptr);
      g.consoleLog.Close();
    });
    return built;
  }();
  return *globals;
}

void SinkToConsoleLog(std::u16string_view line) { Globals().consoleLog.LogLine(line); }

// The base a scope put in place of the process's own, or null.
std::atomic<cStringBase*> gScopedStringBase{nullptr};

// Builds the objects before the entry function runs.
[[maybe_unused]] const bool gBuiltBeforeStartUp = (Globals(), true);

}  // namespace

cConsoleLog& ConsoleLog() { return Globals().consoleLog; }
cStringBase& StringBase() {
  cStringBase* scoped = gScopedStringBase.load();
  return scoped ? *scoped : Globals().stringBase;
}

cScopedStringBase::cScopedStringBase() : replaced_(gScopedStringBase.exchange(&base_)) {}
cScopedStringBase::~cScopedStringBase() { gScopedStringBase.store(replaced_); }
XMEMORY_MANAGER& MemoryManager() { return Globals().memoryManager; }
cIniFile& SettingsIni() { return Globals().settingsIni; }

// The skin-name settings follow the settings object in the construction order.
std::u16string gUnitsSkin = u"Counters";
std::u16string gMapSkin = u"Normal";

}  // namespace tr
