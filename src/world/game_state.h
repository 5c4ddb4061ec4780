// What the running game is doing. It is also the hand-over between the main
// thread and the worker thread, so it lives in an atomic inside cGame.
#pragma once

#include <cstdint>

namespace tr {

enum eGameState : std::int32_t {
  kGameLoading = 0,
  kGameLoaded = 1,               // scenario settings menu showing
  kGamePaused = 2,
  kGameEndOfImpulse = 3,         // end of impulse or hand-over running
  kGameSeaBattles = 4,           // sea battles being determined
  kGameSeaBattleScreen = 5,
  kGameHumanIdle = 7,
  kGameHumanMoving = 8,
  kGameComputerTurn = 9,
  kGameComputerMoving = 10,
  kGameCameraGlide = 12,         // glide to the new turn's view
  kGameGlideToEndOfImpulse = 13, // a glide that ends in state 3
  kGameTeardown = 15,
};

}  // namespace tr
