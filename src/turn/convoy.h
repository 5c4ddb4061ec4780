// Convoys: standing orders of a country to ship supplies or production points
// from one port city to another every impulse, kept per country by the convoy
// manager with the results of their last execution.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "turn/supply.h"

namespace tr {

class cCity;
class cGame;

enum eConvoyKind : std::int32_t {
  kConvoySupplies = 0,
  kConvoyResources = 1,  // production points
};

// The kind an event's code names: the rules treat every kind but supplies as
// production points, and a save holds only the two.
inline int KnownConvoyKind(int code) { return code == kConvoySupplies ? kConvoySupplies : kConvoyResources; }

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

  // New convoys, appended to the country's list; each returns the new
  // convoy's number, or -1 (nothing added) when its ports are not valid.
  // A supply convoy between two port cities carrying what the destination
  // lacks of the supply maximum.
  int AddSupplyConvoy(cCity* departure, cCity* destination, int countryId);
  // A supply convoy between the port cities of two sea nodes.
  int AddConvoyFromDialog(int departureNodeId, int destinationNodeId, int countryId);
  // A convoy of the kind and amount between the cities on two hexes.
  int AddConvoyFromEvent(int countryId, int kind, int amount, int x1, int y1, int x2, int y2);
  // Removes every convoy of the country and kind from the city on (x1, y1)
  // to the city on (x2, y2).
  void RemoveConvoysBetweenHexes(int countryId, int kind, int x1, int y1, int x2, int y2);
  bool HasConvoyTo(const cCity* destination, int countryId) const;
  // The highest convoy number in use, 0 when there is none.
  std::int32_t HighestId() const;

  std::vector<std::vector<sConvoy>> convoys;        // index = country number - 1
  std::vector<std::vector<sConvoyResult>> results;  // same index
};

// The sea node of a port city: the node whose main hex is the city's, else
// the node its hex names; -1 when none.
int ConvoyPortNodeId(const cGame& game, const cCity* city);

// Highlight for the convoys dialog: the ports the country holds (departure),
// and the ports its side holds apart from the chosen departure (destination).
void MarkConvoyCandidateCities(int countryId);
void MarkConvoyCitiesForAction(int countryId, int excludedNodeId);

// Runs every convoy of the country in order inside the supply computation,
// with the city groups and nearest cities of its side, and keeps the results.
void ExecuteAllConvoys(cConvoyManager& manager, int countryId, SupplyCityGroups& groups, SupplyResults& results);
// One convoy: its checks, its voyage and its delivery, written to the result.
void ExecuteConvoy(sConvoy& convoy, sConvoyResult& result, SupplyCityGroups& groups, SupplyResults& results);

// Shows each country's convoy results to the player who plays it; the end of
// impulse runs it as its convoy results step.
void ShowConvoyResultsToPlayers(cGame& game);

// Writes "<folder>\convoys.csv"; false (logged) when it cannot be written.
bool WriteConvoys(const cGame& game, std::u16string_view folder);
// What it writes in each field (scenario/saved_fields.h).
struct sSavedTable;
extern const sSavedTable kConvoysFields;

}  // namespace tr
