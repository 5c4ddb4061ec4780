// Puts the real turn steps of every subsystem in place: the game and the
// headless drivers call this once at start-up, tests install their own.
#pragma once

namespace tr {

void InstallGameSteps();
// Takes every step out again, so a later run starts from "skipped".
void UninstallGameSteps();

}  // namespace tr
