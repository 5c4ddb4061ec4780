// The operand methods of the event language: the table of names with the
// parameters each needs and the value each reads from the running game, and
// the two operations on an operand, validation and evaluation.
#pragma once

#include <span>
#include <string_view>

#include "events/event_model.h"

namespace tr {

struct sOperandMethod {
  std::u16string_view name;
  int paramCount;  // params 0..paramCount-1 are required
  double (*value)(const sEventOperand& operand);
};

// Every method, in the order the validator walks them (operand_table.cpp).
std::span<const sOperandMethod> OperandMethods();

// True when the operand is well formed (a constant or a known method with its
// params); logs what is wrong otherwise. Sets the recognised flag.
bool ValidateOperand(sEventOperand& operand);

// The operand's value: the constant when one is set, else the method's
// reading of the running game. An unknown method is fatal.
double EvaluateOperand(const sEventOperand& operand);

}  // namespace tr
