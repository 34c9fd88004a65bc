#include "opponent/enemy_production.h"

#include "rules/combat.h"
#include "state/game.h"
#include "world/production.h"
#include "world/roster.h"

namespace {

constexpr int kPairedHqs = 11;
constexpr TCandidate kClearedCandidate{kNone, 0, 0};

// Lists the first 11 HQs of type `hq_type` of the roster in `list`, after clearing its first 11
// entries.
void list_hqs(const TUnit* roster, int hq_type, TCandidate (&list)[kCandidates]) {
  for (int k = 0; k < kPairedHqs; ++k) list[k] = kClearedCandidate;
  int n = 0;
  for (int slot = 0; slot < kRosterSlots && n < kPairedHqs; ++slot) {
    if (roster[slot].type == hq_type) list[n++] = TCandidate{slot, roster[slot].x, roster[slot].y};
  }
}

}  // namespace

void pair_hqs(Game& g) {
  RulesState& r = g.rules;
  list_hqs(g.world.player_units, kPlayerHq, r.player_candidates);
  list_hqs(g.world.enemy_units, kEnemyHq, r.enemy_candidates);
  clear_pair_list(g);
  int n = 0;
  for (int k = 0; k < kPairedHqs; ++k) {
    const TCandidate& p = r.player_candidates[k];
    for (int l = 0; l < kPairedHqs; ++l) {
      const TCandidate& e = r.enemy_candidates[l];
      if (p.slot == kNone || e.slot == kNone || n >= kPairs) continue;
      r.pair_list[n++] =
          TPair{p.slot, p.x, p.y, e.slot, e.x, e.y, cell_distance(p.x, p.y, e.x, e.y)};
    }
  }
  sort_pairs(g, 0, kPairs - 1);
}

bool build_offer_list(const Game& g, int32_t sp, int32_t (&offer)[kOfferEntries]) {
  for (int32_t& entry : offer) entry = kNone;
  int n = 0;
  int32_t last = kNone;
  for (int t = 0; t < kOfferEntries; ++t) {
    if (sp >= unit_price(g, kEnemyScout + t)) {
      offer[n++] = t;
      last = t;
    }
  }
  if (last == kNone) return false;
  for (int k = 0; k < 10; ++k) {
    if (offer[k] == kNone) offer[k] = last;
  }
  return true;
}

int offer_entry_for_draw(int r) {
  static constexpr struct {
    int below;
    int entry;
  } kDraws[] = {{30, 6}, {50, 5}, {60, 4}, {70, 3}, {75, 5},
                {80, 4}, {85, 3}, {90, 2}, {95, 1}, {100, 0}};
  for (const auto& d : kDraws) {
    if (r < d.below) return d.entry;
  }
  return 0;
}

int32_t first_enemy_hq(const Game& g) {
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    if (g.world.enemy_units[slot].type == kEnemyHq) return slot;
  }
  return kNone;
}

int32_t enemy_produce(Game& g) {
  WorldState& w = g.world;
  const RulesState& r = g.rules;
  int32_t hq = kNone;
  for (int m = 0; m < kPairs - 1; ++m) {
    const TPair& pair = r.pair_list[m];
    if (pair.distance == kNone) continue;
    if (pair.e_slot < 0 || pair.e_slot >= kRosterSlots) continue;
    const TUnit& unit = w.enemy_units[pair.e_slot];
    if (unit.type == kEnemyHq && unit.ready == 1) {
      hq = pair.e_slot;
      break;
    }
  }
  if (hq == kNone) return kNone;

  w.selected_slot = hq;
  w.selected_unit = w.enemy_units[hq];
  w.selected_spec = w.unit_specs[kEnemyHq];
  const int32_t sp = w.selected_unit.sp;
  if (sp < kEnemyProductionFloor) return kNone;

  int32_t offer[kOfferEntries];
  if (!build_offer_list(g, sp, offer)) return kNone;
  const int32_t roll = g.rng.next() % 100;
  const int type = kEnemyScout + offer[offer_entry_for_draw(roll)];

  // The occupancy layer must show every unit before a cell is judged free.
  rebuild_occupancy(g);
  int32_t placed = kNone;
  int32_t amount = 0;
  for (int dir = kDeployUp; dir <= kDeployLeft && placed == kNone; ++dir) {
    int x = 0;
    int y = 0;
    deploy_neighbour(w.selected_unit.x, w.selected_unit.y, dir, &x, &y);
    if (!is_free_deploy_cell(g, x, y)) continue;
    const int32_t price = unit_price(g, type);
    placed = add_unit(g, x, y, type, kSideEnemy, default_hp);
    // A full roster takes no unit; only a placed unit is paid for.
    if (placed != kNoSlot) amount = price;
    break;
  }
  charge_hq(g, kSideEnemy, amount);
  return placed;
}
