// A string base of its own for a scope: while it lives, StringBase() answers
// with it, and the base it replaced comes back at its end. A headless run
// reads the game's texts into one, so that the process keeps the texts it had.
#pragma once

#include "foundation/string_base.h"

namespace tr {

class cScopedStringBase {
 public:
  cScopedStringBase();
  ~cScopedStringBase();
  cScopedStringBase(const cScopedStringBase&) = delete;
  cScopedStringBase& operator=(const cScopedStringBase&) = delete;

 private:
  cStringBase base_;
  cStringBase* replaced_;
};

}  // namespace tr
