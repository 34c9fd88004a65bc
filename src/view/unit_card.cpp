#include "view/unit_card.h"

#include <cstdio>

#include "state/game.h"
#include "ui/surface.h"
#include "world/tables.h"
#include "world/text.h"

namespace {

// Free places of the unit panel, relative to its top-left corner: under the level, under the
// SP and under the terrain.
constexpr int kUnderLevel = 96;
constexpr int kUnderSp = 368;
constexpr int kUnderTerrain = 496;
constexpr int kSecondLine = 38;
constexpr int kThirdLine = 60;

}  // namespace

void draw_unit_card(Game& g, const TUnitSpec& stats, const TUnit& unit, int y0, bool on_map) {
  Picture& main = g.form.img_main;
  char text[96];
  std::snprintf(text, sizeof text, tr(g, "移動%d 射程%d"), stats.move, stats.range);
  text_out(main, kUnderLevel, y0 + kSecondLine, text);
  std::snprintf(text, sizeof text, tr(g, "視界%d %s"), stats.sight,
                stats.air == 1 ? tr(g, "航空") : tr(g, "地上"));
  text_out(main, kUnderLevel, y0 + kThirdLine, text);
  // Against soft targets, armour and aircraft: the attack value the target's class meets.
  std::snprintf(text, sizeof text, tr(g, "攻 軟%d 硬%d 空%d"), stats.attack_soft,
                stats.attack_armor, stats.attack_air);
  text_out(main, kUnderSp, y0 + kThirdLine, text);
  // Ground attackers meet the ground defence plus the cover of the cell; aircraft the air
  // defence alone.
  if (on_map) {
    const int cover = g.world.terrain_specs[terrain_at(g, unit.x, unit.y)].defense;
    std::snprintf(text, sizeof text, tr(g, "防 地%d+%d 空%d"), stats.defense_ground, cover,
                  stats.defense_air);
  } else {
    std::snprintf(text, sizeof text, tr(g, "防 地%d 空%d"), stats.defense_ground,
                  stats.defense_air);
  }
  text_out(main, kUnderTerrain, y0 + kSecondLine, text);
  std::snprintf(text, sizeof text, tr(g, "命中%d 回避%d"), stats.accuracy, stats.evasion);
  text_out(main, kUnderTerrain, y0 + kThirdLine, text);
}
