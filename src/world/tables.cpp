// The unit-type and terrain tables as the game starts with them.
#include "world/tables.h"

#include <cstring>

#include "state/game.h"
#include "world/text.h"
#include "world/unit_kinds.h"

namespace {

struct SpecRow {
  const char* name;
  const char* model;
  int32_t max_hp, max_sp, attack_soft, attack_armor, defense_ground, attack_air, defense_air, move,
      range, accuracy, evasion, cost, image, level, air, sight;
};

// Rows 0 to 25, their texts shown through tr(); rows 26 to 32 are spare "ダミー" rows and row 33 is
// "END", all zero but cost 999.
constexpr SpecRow kInitialUnitSpecs[] = {
    {N_("ダミー"), N_("ダミー"), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0},
    {N_("司令部"), N_("Dshk38"), 200, 20, 50, 50, 50, 50, 50, 0, 4, 80, 0, 9999, 16, 1, 0, 7},
    {N_("斥候"), N_("モシンナガンM1891/30"), 10, 10, 25, 10, 10, 0, 0, 6, 1, 95, 20, 1, 17, 1, 0,
     7},
    {N_("突撃兵"), N_("PPSh-41"), 20, 20, 50, 50, 10, 0, 0, 6, 1, 80, 20, 1, 18, 1, 0, 4},
    {N_("ライフル銃兵"), N_("モシンナガンM1891/30"), 20, 20, 80, 0, 10, 0, 0, 6, 3, 95, 20, 1, 24,
     1, 0, 4},
    {N_("対戦車砲"), N_("M-42 45mm"), 20, 20, 20, 50, 10, 0, 0, 3, 6, 90, 20, 2, 25, 1, 0, 4},
    {N_("支援砲兵"), N_("D-1 152mm"), 20, 20, 80, 80, 10, 0, 0, 3, 10, 60, 20, 3, 26, 1, 0, 4},
    {N_("自走砲"), N_("SU-76"), 60, 30, 50, 50, 30, 0, 0, 8, 5, 70, 10, 4, 20, 1, 0, 6},
    {N_("対空砲"), N_("ZSU-37"), 60, 30, 0, 0, 20, 150, 20, 8, 5, 50, 10, 4, 21, 1, 0, 6},
    {N_("戦車"), N_("T34"), 100, 30, 50, 50, 50, 0, 10, 12, 5, 80, 20, 5, 19, 1, 0, 6},
    {N_("爆撃機"), N_("II-2"), 100, 50, 80, 50, 50, 0, 20, 14, 3, 90, 60, 10, 22, 1, 1, 10},
    {N_("戦闘機"), N_("Yak-9"), 150, 50, 0, 0, 20, 50, 50, 16, 3, 80, 60, 13, 23, 1, 1, 10},
    {N_("敵司令部"), N_("MG34"), 200, 100, 50, 50, 50, 50, 50, 0, 4, 80, 0, 9999, 48, 1, 0, 7},
    {N_("斥候"), N_("StG44"), 10, 10, 25, 10, 10, 0, 0, 6, 1, 95, 20, 1, 49, 1, 0, 7},
    {N_("突撃兵"), N_("MP40"), 20, 20, 50, 50, 10, 0, 0, 6, 1, 80, 20, 1, 50, 1, 0, 4},
    {N_("ライフル銃兵"), N_("Kar98k"), 20, 20, 80, 0, 10, 0, 0, 6, 3, 95, 20, 1, 56, 1, 0, 4},
    {N_("対戦車砲"), N_("7.5cm PaK40"), 20, 20, 20, 50, 10, 0, 0, 3, 6, 90, 20, 2, 57, 1, 0, 4},
    {N_("支援砲兵"), N_("15cm sFH18"), 20, 20, 80, 80, 10, 0, 0, 3, 10, 60, 20, 3, 58, 1, 0, 4},
    {N_("自走砲"), N_("フンメル"), 60, 30, 50, 50, 30, 0, 0, 8, 5, 70, 10, 4, 52, 1, 0, 6},
    {N_("対空砲"), N_("ヴィルベルヴィント"), 60, 30, 0, 0, 20, 150, 20, 8, 5, 50, 10, 4, 53, 1, 0,
     6},
    {N_("戦車"), N_("Ⅳ号戦車"), 100, 30, 50, 50, 50, 0, 10, 12, 5, 80, 20, 5, 51, 1, 0, 6},
    {N_("爆撃機"), N_("Do 17"), 100, 50, 80, 50, 50, 0, 20, 14, 3, 90, 60, 10, 54, 1, 1, 10},
    {N_("戦闘機"), N_("Bf109"), 150, 50, 0, 0, 20, 50, 50, 16, 3, 80, 60, 13, 55, 1, 1, 10},
    {N_("守備陣地"), N_("MG34"), 100, 20, 50, 50, 50, 0, 10, 0, 4, 95, 20, 999, 59, 1, 0, 4},
    {N_("国民突撃隊"), N_("パンツァーファウスト"), 20, 20, 0, 50, 10, 0, 0, 6, 1, 90, 30, 999, 60,
     1, 0, 4},
    {N_("ロスヴァイク"), N_("ケーニヒスティーガー"), 500, 30, 80, 80, 60, 0, 10, 12, 5, 95, 30, 999,
     61, 1, 0, 6},
};

constexpr TTerrainSpec kInitialTerrainSpecs[kTerrainRows] = {
    {65535, 65535, 65535},  // 0 black, no terrain
    {1, 65535, 1},          // 1 sea
    {1, 65535, 50},         // 2 rocky mountain
    {1, 255, 1},            // 3 water
    {1, 4, 30},             // 4 mountain
    {1, 3, 20},             // 5 forest
    {1, 2, 10},             // 6 bushes
    {1, 3, 5},              // 7 sand
    {1, 1, 5},              // 8 plain
    {1, 1, 0},              // 9 road
    {1, 3, 40},             // 10 fortified position
    {1, 2, 20},             // 11 building
    {0, 0, 0},              // 12 no terrain sprite
    {0, 0, 0},              // 13 no terrain sprite
    {1, 2, 10},             // 14 no terrain sprite
    {1, 2, 10},             // 15 no terrain sprite
};

}  // namespace

const char* const terrain_names[kTerrainNames] = {
    N_("地形　無し"), N_("地形　海"),   N_("地形　岩山"), N_("地形　水場"), N_("地形　山"),
    N_("地形　森"),   N_("地形　茂み"), N_("地形　砂地"), N_("地形　平野"), N_("地形　道路"),
    N_("地形　陣地"), N_("地形　建物"), N_("地形　平野"),
};

static void copy_text(char (&dst)[kSpecTextBytes], const char* src) {
  std::memset(dst, 0, sizeof dst);
  std::strncpy(dst, src, sizeof dst - 1);
}

void init_tables(Game& g) {
  WorldState& w = g.world;
  for (int row = 0; row < kUnitSpecRows; ++row) {
    TUnitSpec& stats = w.unit_specs[row];
    stats = TUnitSpec{};
    if (row < static_cast<int>(sizeof kInitialUnitSpecs / sizeof kInitialUnitSpecs[0])) {
      const SpecRow& s = kInitialUnitSpecs[row];
      copy_text(stats.name, s.name);
      copy_text(stats.model, s.model);
      stats.max_hp = s.max_hp;
      stats.max_sp = s.max_sp;
      stats.attack_soft = s.attack_soft;
      stats.attack_armor = s.attack_armor;
      stats.defense_ground = s.defense_ground;
      stats.attack_air = s.attack_air;
      stats.defense_air = s.defense_air;
      stats.move = s.move;
      stats.range = s.range;
      stats.accuracy = s.accuracy;
      stats.evasion = s.evasion;
      stats.cost = s.cost;
      stats.image = s.image;
      stats.level = s.level;
      stats.air = s.air;
      stats.sight = s.sight;
    } else {
      copy_text(stats.name, row == kUnitSpecRows - 1 ? "END" : "ダミー");
      copy_text(stats.model, "");
      stats.cost = 999;
    }
  }
  for (int code = 0; code < kTerrainRows; ++code)
    w.terrain_specs[code] = kInitialTerrainSpecs[code];
}

void recount_types(Game& g) {
  WorldState& w = g.world;
  // Only the real unit rows are counted; the spare rows keep whatever they hold.
  constexpr int kCountedRows = 26;
  for (int row = 0; row < kCountedRows; ++row) w.unit_specs[row].count = 0;
  for (const TUnit* roster : {w.player_units, w.enemy_units}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const int type = roster[slot].type;
      if (type != 0 && is_table_row(type)) w.unit_specs[type].count += 1;
    }
  }
}

int terrain_at(const Game& g, int x, int y) {
  if (x < 0 || x >= kMapSize || y < 0 || y >= kMapSize) return 0;
  const int code = g.world.terrain_layer[x][y];
  return code >= 0 && code < kTerrainRows ? code : 0;
}

const char* terrain_caption(int code) {
  if (code < 0 || code >= kTerrainRows) return terrain_names[0];
  return terrain_names[code < kTerrainNames ? code : kTerrainNames - 1];
}
