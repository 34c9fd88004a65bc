#include "unit_page.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "game/campaign.h"
#include "rules/reach.h"
#include "state/game.h"
#include "world/map_file.h"
#include "world/tables.h"
#include "world/text.h"
#include "world/unit_kinds.h"

namespace {

constexpr int kStages = kLastStage + 1;
// Terrain codes 1 to 11 are the ones a stage shows with a picture of their own: code 0 is the
// black filler round the map, 12 to 15 have no picture.
constexpr int kFirstShownTerrain = 1;
constexpr int kLastShownTerrain = 11;

using StageCosts = int32_t[kStages][kUnitSpecRows];

// The cost of every row in every stage, as the stage set-up writes it over the table; g's tables
// and stage are as they were afterwards.
void fill_stage_costs(Game& g, StageCosts& cost) {
  TUnitSpec saved[kUnitSpecRows];
  std::memcpy(saved, g.world.unit_specs, sizeof saved);
  const int32_t stage_no = g.flow.stage_no;
  const int32_t player_start_sp = g.world.player_start_sp;
  const int32_t enemy_start_sp = g.world.enemy_start_sp;
  for (int stage = 0; stage < kStages; ++stage) {
    g.flow.stage_no = stage;
    set_stage_tables(g);
    for (int row = 0; row < kUnitSpecRows; ++row) cost[stage][row] = g.world.unit_specs[row].cost;
  }
  std::memcpy(g.world.unit_specs, saved, sizeof saved);
  g.flow.stage_no = stage_no;
  g.world.player_start_sp = player_start_sp;
  g.world.enemy_start_sp = enemy_start_sp;
}

// NO_AIR and the costs above it (never built, the HQs) are beyond any SP an HQ can hold.
bool can_be_bought(int32_t cost) {
  return cost < NO_AIR;
}

std::string stages_text(int first, int last) {
  if (first == last) return "Stage " + std::to_string(first + 1);
  return "Stages " + std::to_string(first + 1) + "–" + std::to_string(last + 1);
}

// The price of the first unit of `row`: one figure when it is the same in every stage, else the
// figure of each run of stages where it can be bought; "—" where it never can.
std::string price_text(const StageCosts& cost, int row) {
  std::string text;
  for (int first = 0; first < kStages;) {
    int last = first;
    while (last + 1 < kStages && cost[last + 1][row] == cost[first][row]) ++last;
    const int32_t c = cost[first][row];
    if (can_be_bought(c)) {
      if (first == 0 && last == kStages - 1) return std::to_string(c);
      if (!text.empty()) text += ", ";
      text += std::to_string(c) + " (" + stages_text(first, last) + ")";
    }
    first = last + 1;
  }
  return text.empty() ? "—" : text;
}

const char* target_text(int row) {
  switch (target_class(row)) {
    case TargetClass::kSoft:
      return "soft";
    case TargetClass::kArmor:
      return "armour";
    case TargetClass::kAir:
      return "air";
    case TargetClass::kNone:
      break;
  }
  return "—";
}

// Whether some code of a map file's object layer places a unit of `row` at the stage's start.
bool placed_by_maps(int row) {
  for (int code = 0; code < 256; ++code) {
    if (object_unit_type(code, nullptr) == row) return true;
  }
  return false;
}

// Every way a unit of `row` comes onto the map.
std::string arrival_text(int row) {
  std::vector<std::string> ways;
  if (placed_by_maps(row)) ways.emplace_back("stage map");
  if (row == kPlayerHq) ways.emplace_back("an enemy HQ you take");
  if (row == kEnemyHq) ways.emplace_back("an HQ of yours the computer takes");
  if (is_player_troop(row)) ways.emplace_back("your HQs build it (スキル)");
  if (is_enemy_produced(row)) ways.emplace_back("the computer's HQs build it");
  if (row == kEnemySquad || row == kEnemyAce) {
    ways.emplace_back(
        "reserve: at the computer's first turn of a stage, on the map's reserve cells, when it "
        "then holds no unit its HQs build");
  }
  std::string text;
  for (const std::string& way : ways) text += (text.empty() ? "" : "; ") + way;
  return text.empty() ? "—" : text;
}

// A Japanese text and, where the language gives another, that one in brackets.
std::string with_translation(const Game& g, const char* text) {
  const std::string shown = tr(g, text);
  return shown == text ? std::string(text) : std::string(text) + " (" + shown + ")";
}

std::string cost_text(int32_t cost) {
  if (cost == kNone) return "—";
  if (cost == kWholeMove) return "whole move";
  return std::to_string(cost);
}

void unit_rows(Game& g, const StageCosts& cost, int first, int last, std::ostringstream& out) {
  out << "| Row | Name | English | Model | HP | Price | Move | Range | Sight | Flies | Soft | "
         "Armour | Air | Def. ground | Def. air | Aim | Evasion | Target | Enters by |\n"
         "|---:|---|---|---|---:|---|---:|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|---|"
         "---|\n";
  for (int row = first; row <= last; ++row) {
    const TUnitSpec& u = g.world.unit_specs[row];
    out << "| " << row << " | " << u.name << " | " << tr(g, u.name) << " | "
        << with_translation(g, u.model) << " | " << u.max_hp << " | " << price_text(cost, row)
        << " | " << u.move << " | " << u.range << " | " << u.sight << " | "
        << (u.air == 1 ? "yes" : "no") << " | " << u.attack_soft << " | " << u.attack_armor << " | "
        << u.attack_air << " | " << u.defense_ground << " | " << u.defense_air << " | "
        << u.accuracy << " | " << u.evasion << " | " << target_text(row) << " | "
        << arrival_text(row) << " |\n";
  }
}

void terrain_rows(const Game& g, std::ostringstream& out) {
  out << "| Code | Terrain | English | Ground units | Aircraft | Cover |\n"
         "|---:|---|---|---:|---:|---:|\n";
  for (int code = kFirstShownTerrain; code <= kLastShownTerrain; ++code) {
    const TTerrainSpec& t = g.world.terrain_specs[code];
    const char* caption = terrain_caption(code);
    out << "| " << code << " | " << caption << " | " << tr(g, caption) << " | "
        << cost_text(t.ground_cost) << " | " << cost_text(t.air_cost) << " | " << t.defense
        << " |\n";
  }
}

}  // namespace

std::string units_page(Game& g) {
  StageCosts cost;
  fill_stage_costs(g, cost);
  std::ostringstream out;
  out << "# Units and terrain\n"
         "\n"
         "<!-- Written by tools/unitdoc from the game's own tables; do not edit. `make units-doc`\n"
         "writes it again, and the test units_doc_current fails while it differs from them. -->\n"
         "\n"
         "Every figure the game plays with, for each unit type and each terrain. The names are "
         "the\n"
         "game's own; the English ones are those of `--lang en`. How the figures decide a fight "
         "is\n"
         "told in the README, [How to play](../README.md#how-to-play).\n"
         "\n"
         "## Your units (red)\n"
         "\n";
  unit_rows(g, cost, kPlayerHq, kPlayerFighter, out);
  out << "\n"
         "## The computer's units (blue)\n"
         "\n";
  unit_rows(g, cost, kEnemyHq, kLastUnitRow, out);
  out << "\n"
         "- **HP**: the hit points of a new unit, its full strength.\n"
         "- **Price**: the SP an HQ pays for the first unit of the type; with n units of the type "
         "on its\n"
         "  side's map the next costs n + 1 times as much. Where a stage is named, the type can "
         "be bought\n"
         "  in that stage only. \"—\": never built.\n"
         "- **Move**: movement points per turn (the terrain below says what a cell costs). "
         "**Range**: the\n"
         "  attack range in cells, columns plus rows apart. **Sight**: the unit sees every cell "
         "up to\n"
         "  sight − 1 steps away.\n"
         "- **Flies**: pays the aircraft's cost of terrain; its attacks meet the target's air "
         "defence and\n"
         "  ignore the target's cover.\n"
         "- **Soft**, **Armour**, **Air**: the attack against a target of that kind; **Target** "
         "is the\n"
         "  kind this type is when attacked.\n"
         "- **Def. ground**: the defence against ground attackers, with the cover of the unit's "
         "cell\n"
         "  added. **Def. air**: the defence against aircraft, no cover.\n"
         "- **Aim**: the accuracy: a shot is on target when a draw of 0 to 99 is at most the Aim, "
         "halved\n"
         "  (rounded down) once the unit has moved this turn.\n"
         "  **Evasion**: the target's chance in percent to dodge a shot that was on target.\n"
         "\n"
         "## Terrain\n"
         "\n";
  terrain_rows(g, out);
  out << "\n"
         "- **Ground units**, **Aircraft**: the movement points spent to enter the cell; "
         "\"—\": it cannot\n"
         "  be entered; \"whole move\": it costs all the unit's move, so only the first step of "
         "a walk\n"
         "  enters it, and the walk ends there.\n"
         "- **Cover**: added to the defence of a unit on the cell against ground attackers.\n";
  return out.str();
}

std::string page_difference(const std::string& path, const std::string& page) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  std::ostringstream read;
  read << in.rdbuf();
  const std::string file = read.str();
  if (file == page) return "";

  std::istringstream a(file);
  std::istringstream b(page);
  std::string have;
  std::string want;
  for (int line = 1;; ++line) {
    const bool more_have = static_cast<bool>(std::getline(a, have));
    const bool more_want = static_cast<bool>(std::getline(b, want));
    if (!more_have && !more_want) return path + " differs only in its line ends";
    if (!more_have)
      return path + " ends at line " + std::to_string(line) + ", the tables give\n  " + want;
    if (!more_want)
      return path + " goes on past the tables' last line at line " + std::to_string(line) +
             ":\n  " + have;
    if (have != want) {
      return path + ", line " + std::to_string(line) + ":\n  has   " + have + "\n  wants " + want;
    }
  }
}
