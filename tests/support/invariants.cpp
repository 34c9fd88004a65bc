#include "support/invariants.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/scenes.h"
#include "state/game.h"
#include "view/map_view.h"
#include "view/panels.h"
#include "world/tables.h"

namespace {

// Collects the first broken invariant; later ones are not looked for.
class Report {
 public:
  explicit Report(std::string* why) : why_(why) {}
  bool ok() const { return ok_; }

  // Records the failure (printf-style) unless an earlier one was recorded.
  __attribute__((format(printf, 2, 3))) void fail(const char* format, ...) {
    if (!ok_) return;
    ok_ = false;
    if (why_ == nullptr) return;
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    *why_ = text;
  }

 private:
  std::string* why_;
  bool ok_ = true;
};

const char* side_name(int side) {
  return side == kSidePlayer ? "player" : "enemy";
}

const TUnit* roster(const Game& g, int side) {
  return side == kSidePlayer ? g.world.player_units : g.world.enemy_units;
}

bool on_inner_map(int x, int y) {
  return x >= 1 && x <= kMapSize - 2 && y >= 1 && y <= kMapSize - 2;
}

bool on_map(int x, int y) {
  return x >= 0 && x < kMapSize && y >= 0 && y < kMapSize;
}

bool is_slot(int32_t v) {
  return v >= 0 && v < kRosterSlots;
}

// Scenes in which a unit at 0 hit points may still stand: the pauses between an attack and the
// removal that follows it, and the screens between stages, which Escape may reach from any
// point of a battle (the next stage start clears the rosters).
bool destroyed_unit_may_wait(int scene) {
  switch (scene) {
    case kSceneTitleLoad:
    case kSceneTitleMenu:
    case kSceneIntermission:
    case kSceneIntermissionSavePause:
    case kSceneStageSelect:
    case kSceneEnding:
    case kSceneAttackPause:
    case kSceneEnemyNextUnit:
    case kSceneEnemyAttackPause:
      return true;
    default:
      return false;
  }
}

void check_flow(const Game& g, Report& r) {
  const FlowState& f = g.flow;
  if (!is_scene_code(f.scene)) r.fail("scene %d is no scene code", f.scene);
  if (f.wait_ticks < 0) r.fail("wait_ticks %d is negative", f.wait_ticks);
  if (f.anim_fast < 0 || f.anim_fast > 5) r.fail("anim_fast %d outside 0..5", f.anim_fast);
  if (f.anim_slow < 0 || f.anim_slow > 7) r.fail("anim_slow %d outside 0..7", f.anim_slow);
  if (f.anim_scroll < 0 || f.anim_scroll > 2) r.fail("anim_scroll %d outside 0..2", f.anim_scroll);
  if (f.turn_no < 0) r.fail("turn_no %d is negative", f.turn_no);
  if (f.heal_pos < 0 || f.heal_pos >= kHealEntries) r.fail("heal_pos %d outside 0..79", f.heal_pos);
  if (!f.timer1_enabled) r.fail("Timer1 is still off between passes");

  const ViewState& v = g.view;
  if (v.view_x < 0 || v.view_x > kViewMaxX) r.fail("view_x %d outside 0..44", v.view_x);
  if (v.view_y < 0 || v.view_y > kViewMaxY) r.fail("view_y %d outside 0..49", v.view_y);
  // The longest menu is the unit list with its 40 rows.
  if (g.ui.hover_item < 0 || g.ui.hover_item > kListedSlots) {
    r.fail("hover_item %d outside 0..%d", g.ui.hover_item, kListedSlots);
  }
}

void check_slots(const Game& g, Report& r) {
  const WorldState& w = g.world;
  const int scene = g.flow.scene;
  for (int side : {kSidePlayer, kSideEnemy}) {
    const int low = side == kSidePlayer ? 1 : 12;
    const int high = side == kSidePlayer ? 11 : 25;
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster(g, side)[slot];
      const char* s = side_name(side);
      if (u.type == 0) {
        // An empty slot is all zero, so no query mistakes it for a unit at some cell.
        if (u.x != 0 || u.y != 0 || u.hp != 0 || u.sp != 0 || u.terrain != 0 || u.status != 0 ||
            u.ready != 0 || u.moved != 0) {
          r.fail("%s slot %d is empty but not cleared (x %d, y %d, hp %d, ready %d)", s, slot, u.x,
                 u.y, u.hp, u.ready);
        }
        continue;
      }
      if (u.type < low || u.type > high) {
        r.fail("%s slot %d holds type %d, not one of its side's %d..%d", s, slot, u.type, low,
               high);
        continue;
      }
      if (!on_inner_map(u.x, u.y)) {
        r.fail("%s slot %d stands at (%d, %d), off the inner map", s, slot, u.x, u.y);
      }
      const int32_t max_hp = w.unit_specs[u.type].max_hp;
      if (u.hp > max_hp) r.fail("%s slot %d has hp %d above max_hp %d", s, slot, u.hp, max_hp);
      if (u.hp < 0) r.fail("%s slot %d has negative hp %d", s, slot, u.hp);
      if (u.hp == 0 && !destroyed_unit_may_wait(scene)) {
        r.fail("%s slot %d is destroyed (hp 0) but still placed in scene %d", s, slot, scene);
      }
      if (u.status != 1) r.fail("%s slot %d has status %d", s, slot, u.status);
      if (u.ready > 1) r.fail("%s slot %d has ready %d", s, slot, u.ready);
      if (u.moved > 1) r.fail("%s slot %d has moved %d", s, slot, u.moved);
      if (u.terrain < 0 || u.terrain >= kTerrainRows) {
        r.fail("%s slot %d stands on terrain %d, no table row", s, slot, u.terrain);
      }
      // Two units of one side never share a cell: moves and placements only enter empty cells.
      for (int other = 0; other < slot; ++other) {
        const TUnit& o = roster(g, side)[other];
        if (o.type != 0 && o.x == u.x && o.y == u.y) {
          r.fail("%s slots %d and %d both stand at (%d, %d)", s, other, slot, u.x, u.y);
        }
      }
    }
  }
}

// All HQs of a side hold the same SP, within 0 and the ceiling of the stage's HQ row.
void check_hq_purses(const Game& g, Report& r) {
  for (int side : {kSidePlayer, kSideEnemy}) {
    const int hq = side == kSidePlayer ? kPlayerHq : kEnemyHq;
    const int32_t ceiling = g.world.unit_specs[hq].max_sp;
    bool first = true;
    int32_t purse = 0;
    int first_slot = 0;
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster(g, side)[slot];
      if (u.type != hq) continue;
      if (u.sp < 0 || u.sp > ceiling) {
        r.fail("%s HQ in slot %d has SP %d outside 0..%d", side_name(side), slot, u.sp, ceiling);
      }
      if (first) {
        purse = u.sp;
        first_slot = slot;
        first = false;
      } else if (u.sp != purse) {
        r.fail("%s HQs in slots %d and %d hold SP %d and %d", side_name(side), first_slot, slot,
               purse, u.sp);
      }
    }
  }
}

void check_counts(const Game& g, Report& r) {
  int counted[kUnitSpecRows] = {};
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const int type = roster(g, side)[slot].type;
      if (type > 0 && type < kUnitSpecRows) counted[type] += 1;
    }
  }
  // Rows 26 to 33 are spare rows that never hold a unit.
  for (int type = 1; type <= 25; ++type) {
    const int32_t count = g.world.unit_specs[type].count;
    if (count != counted[type]) {
      r.fail("count of type %d is %d, the rosters hold %d", type, count, counted[type]);
    }
  }
}

void check_occupancy(const Game& g, OccupancyCheck how, Report& r) {
  const WorldState& w = g.world;
  uint8_t expected[kMapSize][kMapSize];
  std::memset(expected, kNoUnit, sizeof expected);
  // The rebuild rule: the player's slots in order, then the enemy's, later entries covering.
  for (int side : {kSidePlayer, kSideEnemy}) {
    const int base = side == kSidePlayer ? 0 : kEnemyOccupancyBase;
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster(g, side)[slot];
      if (on_inner_map(u.x, u.y)) expected[u.x][u.y] = static_cast<uint8_t>(base + slot);
    }
  }
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const int o = w.occupancy[x][y];
      const bool names_slot = o == kNoUnit || o < kRosterSlots ||
                              (o >= kEnemyOccupancyBase && o < kEnemyOccupancyBase + kRosterSlots);
      if (!names_slot) r.fail("occupancy (%d, %d) is %d, which names no slot", x, y, o);
      if (how == OccupancyCheck::kCurrent && o != expected[x][y]) {
        r.fail("occupancy (%d, %d) is %d, the rosters give %d", x, y, o, expected[x][y]);
      }
    }
  }
  if (how != OccupancyCheck::kCurrent) return;
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster(g, side)[slot];
      if (u.type == 0 || !on_inner_map(u.x, u.y)) continue;
      const int terrain = terrain_at(g, u.x, u.y);
      if (u.terrain != terrain) {
        r.fail("%s slot %d at (%d, %d) notes terrain %d, its cell has %d", side_name(side), slot,
               u.x, u.y, u.terrain, terrain);
      }
    }
  }
}

void check_map(const Game& g, Report& r) {
  const WorldState& w = g.world;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const int t = w.terrain_layer[x][y];
      if (t < 0 || t >= kTerrainRows) r.fail("terrain (%d, %d) is %d, no table row", x, y, t);
      for (int side : {kSidePlayer, kSideEnemy}) {
        const int32_t v = w.vision[side][x][y];
        if (v != 0 && v != 1) r.fail("%s vision (%d, %d) is %d", side_name(side), x, y, v);
        if (v != 0 && !on_inner_map(x, y)) {
          r.fail("%s vision sees (%d, %d) on the outer ring", side_name(side), x, y);
        }
      }
    }
  }
}

// The reserve cells: all zero before the first stage is loaded; afterwards entry 0 (the ace)
// is a cell or the marker, the squads a run of cells from entry 1 and then markers to the end.
void check_reserves(const Game& g, Report& r) {
  const CellPoint* p = g.world.reserve_points;
  bool never_loaded = true;
  for (int i = 0; i < kReservePoints; ++i)
    never_loaded = never_loaded && p[i].x == 0 && p[i].y == 0;
  if (never_loaded) return;
  if (p[kReservePoints - 1].x != kNone) r.fail("reserve_points lost its end marker");
  if (p[0].x != kNone && !on_inner_map(p[0].x, p[0].y)) {
    r.fail("the ace's reserve cell (%d, %d) is off the inner map", p[0].x, p[0].y);
  }
  bool ended = false;
  for (int i = 1; i < kReservePoints; ++i) {
    if (p[i].x == kNone) {
      ended = true;
      continue;
    }
    if (ended) r.fail("reserve entry %d holds a cell after the end marker", i);
    if (!on_inner_map(p[i].x, p[i].y)) {
      r.fail("reserve entry %d (%d, %d) is off the inner map", i, p[i].x, p[i].y);
    }
  }
}

// The repairs of the last turn start: all zero before the first, afterwards entries up to the
// first marker and markers in all three fields from there to the last entry.
void check_heal_list(const Game& g, Report& r) {
  const HealEntry* h = g.world.heal_list;
  bool never_built = true;
  for (int i = 0; i < kHealEntries; ++i) {
    never_built = never_built && h[i].x == 0 && h[i].y == 0 && h[i].amount == 0;
  }
  if (never_built) return;
  bool ended = false;
  for (int i = 0; i < kHealEntries; ++i) {
    const bool marker = h[i].x == kNone && h[i].y == kNone && h[i].amount == kNone;
    if (ended && !marker) r.fail("heal_list entry %d follows the end marker", i);
    if (marker) {
      ended = true;
      continue;
    }
    if (h[i].amount == kNone) r.fail("heal_list entry %d is a half marker", i);
    if (h[i].amount < 0) r.fail("heal_list entry %d repairs %d", i, h[i].amount);
    if (!on_inner_map(h[i].x, h[i].y)) {
      r.fail("heal_list entry %d (%d, %d) is off the inner map", i, h[i].x, h[i].y);
    }
  }
  if (!ended) r.fail("heal_list lost its end marker");
}

void check_candidates(const TCandidate* list, const char* name, Report& r) {
  for (int i = 0; i < kCandidates; ++i) {
    const TCandidate& c = list[i];
    if (c.slot == kNone) continue;
    if (!is_slot(c.slot)) r.fail("%s entry %d names slot %d", name, i, c.slot);
    if (!on_map(c.x, c.y)) r.fail("%s entry %d lies at (%d, %d)", name, i, c.x, c.y);
  }
}

bool same_pair(const TPair& a, const TPair& b) {
  return a.p_slot == b.p_slot && a.p_x == b.p_x && a.p_y == b.p_y && a.e_slot == b.e_slot &&
         a.e_x == b.e_x && a.e_y == b.e_y && a.distance == b.distance;
}

// Sorted by distance, real pairs first; a cleared record has both slots and the distance at the
// marker and its cells at 0. The computer's advance may copy the pair of its chosen target over
// entry 0, so entry 0 is either in order or a copy of a later entry.
void check_pairs(const Game& g, Report& r) {
  const TPair* p = g.rules.pair_list;
  for (int i = 0; i < kPairs; ++i) {
    const TPair& t = p[i];
    if (i > 1 && t.distance < p[i - 1].distance) {
      r.fail("pair_list is out of order at %d (%d after %d)", i, t.distance, p[i - 1].distance);
    }
    if (t.p_slot == kNone || t.distance == kNone) {
      if (t.p_slot != kNone || t.e_slot != kNone || t.distance != kNone || t.p_x != 0 ||
          t.p_y != 0 || t.e_x != 0 || t.e_y != 0) {
        r.fail("pair_list entry %d is a half cleared record", i);
      }
      continue;
    }
    if (!is_slot(t.p_slot) || !is_slot(t.e_slot)) {
      r.fail("pair_list entry %d names slots %d and %d", i, t.p_slot, t.e_slot);
    }
    if (!on_map(t.p_x, t.p_y) || !on_map(t.e_x, t.e_y)) {
      r.fail("pair_list entry %d lies off the map", i);
    }
    const int d = std::abs(t.p_x - t.e_x) + std::abs(t.p_y - t.e_y);
    if (t.distance != d) r.fail("pair_list entry %d gives distance %d for %d", i, t.distance, d);
  }
  if (p[0].distance > p[1].distance) {
    bool copied = false;
    for (int i = 1; i < kPairs && !copied; ++i) copied = same_pair(p[0], p[i]);
    if (!copied) {
      r.fail("pair_list is out of order at 1 (%d after %d)", p[1].distance, p[0].distance);
    }
  }
}

void check_rules(const Game& g, Report& r) {
  const RulesState& rs = g.rules;
  check_candidates(rs.player_candidates, "player_candidates", r);
  check_candidates(rs.enemy_candidates, "enemy_candidates", r);
  check_pairs(g, r);
  if (rs.last_target != kNone && !is_slot(rs.last_target)) {
    r.fail("last_target %d names no slot", rs.last_target);
  }
  if (rs.walk_index < -1 || rs.walk_index >= kPathEntries) {
    r.fail("walk_index %d outside -1..999", rs.walk_index);
  }
  if (rs.path_fill < 0 || rs.path_fill > kPathEntries) {
    r.fail("path_fill %d outside 0..1000", rs.path_fill);
  }
  for (int i = 0; i < kPathEntries; ++i) {
    if (!on_map(rs.path_list[i].x, rs.path_list[i].y)) {
      r.fail("path_list entry %d (%d, %d) is off the map", i, rs.path_list[i].x, rs.path_list[i].y);
    }
  }
}

void check_selection(const Game& g, Report& r) {
  const WorldState& w = g.world;
  if (w.selected_slot != -1 && !is_slot(w.selected_slot)) {
    r.fail("selected_slot %d outside -1..59", w.selected_slot);
  }
  if (w.selected_unit.type < 0 || w.selected_unit.type >= kUnitSpecRows) {
    r.fail("selected_unit has type %d", w.selected_unit.type);
  }
  if (!is_slot(w.focus_slot)) r.fail("focus_slot %d outside 0..59", w.focus_slot);
  if (w.deploy_dir < 0 || w.deploy_dir > 5) r.fail("deploy_dir %d outside 0..5", w.deploy_dir);
  if (g.opponent.enemy_moved > 1) r.fail("enemy_moved is %d", g.opponent.enemy_moved);
}

void check_debug_list(const Game& g, Report& r) {
  const DebugState& d = g.debug;
  if (d.first < 0 || d.first >= kDebugLines) r.fail("debug ring starts at %d", d.first);
  if (d.count < 0 || d.count > kDebugLines) r.fail("debug ring holds %d lines", d.count);
  if (d.dropped < 0) r.fail("debug ring dropped %d lines", d.dropped);
  for (int i = 0; i < kDebugLines; ++i) {
    if (std::memchr(d.lines[i], '\0', kDebugLineBytes) == nullptr) {
      r.fail("debug line %d is not terminated", i);
    }
  }
}

}  // namespace

bool check_invariants(const Game& g, OccupancyCheck occupancy, std::string* why) {
  Report r(why);
  check_flow(g, r);
  check_slots(g, r);
  check_hq_purses(g, r);
  check_counts(g, r);
  check_occupancy(g, occupancy, r);
  check_map(g, r);
  check_reserves(g, r);
  check_heal_list(g, r);
  check_rules(g, r);
  check_selection(g, r);
  check_debug_list(g, r);
  return r.ok();
}

bool check_invariants(const Game& g, std::string* why) {
  return check_invariants(g, OccupancyCheck::kNamesSlots, why);
}

bool scene_leaves_occupancy_current(int scene) {
  switch (scene) {
    case kSceneMap:
    case kSceneHqMenu:
    case kSceneUnitMenu:
    case kSceneSkillPanel:
    case kSceneMoveTarget:
    case kSceneAttackTarget:
    case kSceneMapMenu:
    case kSceneUnitList:
    case kSceneVictoryCondition:
      return true;
    default:
      return false;
  }
}
