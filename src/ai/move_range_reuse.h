// The move ranges of a country's own land units, kept between the computer's
// searches and taken again when everything a range is worked out from is as
// it was: the attack search works them out many times in a turn, the
// operational moves once more, and most units have not moved in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "units/jednostka.h"

namespace tr {

class cCountry;
class cJednostkaLadowa;

class cMoveRangeReuse {
 public:
  // One pass over the units' ranges. Only a pass works a range out, and a
  // pass begins by comparing the values every range reads, forgetting each
  // kept range when they changed, so no range is taken again from a world it
  // does not belong to.
  class cPass {
   public:
    cPass(const cPass&) = delete;
    cPass& operator=(const cPass&) = delete;
    // A whole pass ends by noting the world its ranges now belong to.
    ~cPass();

    // Fills unit k of the list the pass began with: its kept range when all
    // it is worked out from is as it was, else a new one (ComputeMoveRange 1).
    void ComputeRange(std::size_t k);

   private:
    friend class cMoveRangeReuse;
    cPass(cMoveRangeReuse& reuse, const cCountry& country, const std::vector<cJednostkaLadowa*>& units, bool whole);

    cMoveRangeReuse& reuse_;
    const cCountry& country_;
    const std::vector<cJednostkaLadowa*>& units_;
    bool whole_;
    bool unchanged_ = false;  // a whole pass in the world last noted: every kept range holds
  };

  // A pass over every unit of the list (the attack search): when the whole
  // world is as it was at the end of the last whole pass, every unit takes its
  // kept range without its own values being compared. The list and the
  // country must outlive the pass.
  [[nodiscard]] cPass BeginWholePass(const cCountry& country, const std::vector<cJednostkaLadowa*>& units) {
    return cPass(*this, country, units, true);
  }
  // A pass over some units of the list (the operational moves).
  [[nodiscard]] cPass BeginPass(const cCountry& country, const std::vector<cJednostkaLadowa*>& units) {
    return cPass(*this, country, units, false);
  }

 private:
  // Whether the values every unit's range reads are as kept; when not, keeps
  // the new ones and forgets every kept range.
  bool KeepSharedInputs(const cCountry& country);

  std::vector<std::int64_t> values_;  // the whole world at the end of the last whole pass
  std::vector<std::int64_t> shared_;  // the part every unit's range reads
  struct sUnit {
    std::vector<std::int64_t> values;  // the unit's own part
    std::list<sMoveRangeCell> range;
  };
  std::vector<sUnit> units_;  // by place in the list
  std::vector<std::int64_t> scratch_;
};

}  // namespace tr
