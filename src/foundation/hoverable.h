// A game object that can fill the hint box: the box asks it for its size,
// then has it draw its content. It lives down here so that the game rules can
// offer hints without depending on the GUI toolkit, which shows them.
#pragma once

namespace tr {

class SpriteBatch;

struct sHintSize {
  int width = 0;
  int height = 0;
};

class cHoverable {
 public:
  virtual ~cHoverable() = default;
  virtual sHintSize GetHintSize() = 0;
  // Draws the content with its top-left corner at (x, y).
  virtual void DrawHint(SpriteBatch& sprite, int x, int y) = 0;
};

}  // namespace tr
