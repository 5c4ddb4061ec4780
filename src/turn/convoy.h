// Convoys: standing orders of a country to ship supplies or production points
// from one port city to another every impulse, kept per country by the convoy
// manager with the results of their last execution.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace tr {

class cCity;
class cGame;

enum eConvoyKind : std::int32_t {
  kConvoySupplies = 0,
  kConvoyResources = 1,  // production points
};

struct sConvoy {
  // A new convoy: the next convoy number, amount 0, the departure port's
  // current size, no working values.
  void Init(int ownerId, int convoyKind, cCity* departureCity, cCity* destinationCity);

  std::int32_t id = 0;
  std::int32_t owner = 0;
  cCity* departure = nullptr;    // not owned
  cCity* destination = nullptr;  // not owned
  std::int32_t kind = kConvoySupplies;
  std::int32_t amount = 0;
  std::int32_t portSize = 0;  // of the departure port's node when the convoy was made
  // Working values of the last execution of a supply convoy.
  std::int32_t unitsServed = 0;
  float transportCost = 0.0f;
  const std::list<cCity*>* destinationGroup = nullptr;  // the supply rules' city group; not owned
};

struct sConvoyResult {
  std::u16string departureName;
  std::u16string destinationName;
  std::u16string result;  // "failure", "success", "partial_success" or the text of "convoy_not_executed"
  std::int32_t pointsNeeded = 0;
  std::int32_t pointsCarried = 0;
  std::int32_t pointsLost = 0;
  std::u16string kindText;
  std::u16string details;
};

class cConvoyManager {
 public:
  // Replaces every convoy with those of "convoys.csv" of the folder template.
  // A missing file, an unknown owner or a port node that does not exist or
  // holds no port city is fatal (exit code 1).
  void Load(cGame& game, std::u16string_view folderTemplate);
  // Frees both vectors.
  void Clear();
  // Gives every country of the game an empty convoy and result vector.
  void Reset(int countryCount);

  // The country's convoys in execution order; the number must lie in 1..count.
  std::vector<sConvoy>& ConvoysOf(int countryId);
  const std::vector<sConvoy>& ConvoysOf(int countryId) const;
  // Removes the country's first convoy (its surrender); nothing when it has none.
  void RemoveFirstConvoy(int countryId);
  // The highest convoy number in use, 0 when there is none.
  std::int32_t HighestId() const;

  std::vector<std::vector<sConvoy>> convoys;        // index = country number - 1
  std::vector<std::vector<sConvoyResult>> results;  // same index
};

// Writes "<folder>\convoys.csv"; false (logged) when it cannot be written.
bool WriteConvoys(const cGame& game, std::u16string_view folder);

}  // namespace tr
