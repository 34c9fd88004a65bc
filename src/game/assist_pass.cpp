#include "game/assist_pass.h"

#include "game/assist_keys.h"
#include "rules/threat.h"
#include "state/game.h"
#include "state/scene.h"

namespace {

// The threat map follows the board: worked out again only when a unit has come, gone, moved,
// been hurt or come into sight or out of it, and only while the overlay is on and shown (in the
// player's turn; the computer's moves would have it worked out on every step for nobody).
void refresh_threat(Game& g) {
  AssistState& a = g.assist;
  if (!a.threat_shown) return;
  if (!is_player_turn_scene(g.flow.scene)) {
    a.threat_valid = false;
    return;
  }
  const uint64_t key = threat_board_key(g);
  if (a.threat_valid && key == a.board_key) return;
  fill_threat_map(g, a.threat);
  a.board_key = key;
  a.threat_valid = true;
}

}  // namespace

void assist_before_scenes(Game& g) {
  g.assist.forecast.shown = false;
  g.assist.path.shown = false;
  assist_keys(g);
  refresh_threat(g);
}
