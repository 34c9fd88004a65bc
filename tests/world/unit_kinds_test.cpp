// The kinds of unit, row by row over the whole table: every rule that asks what a unit is gets
// its answer from these groups.
#include "world/unit_kinds.h"

#include <gtest/gtest.h>

namespace {

struct Row {
  int type;
  // P: a player unit, HQ included; T: a player troop; E: an enemy unit, HQ included; U: an enemy
  // troop; M: what enemy HQs produce; H: an HQ; I: infantry; A: aircraft; '.' for none.
  const char* kinds;
  TargetClass target;
};

constexpr TargetClass kNo = TargetClass::kNone;
constexpr TargetClass kSoft = TargetClass::kSoft;
constexpr TargetClass kArmor = TargetClass::kArmor;
constexpr TargetClass kAir = TargetClass::kAir;

const Row kRows[kUnitSpecRows] = {
    {0, "........", kNo},      // empty slot
    {1, "P....H..", kSoft},    // player HQ
    {2, "PT....I.", kSoft},    // scout
    {3, "PT....I.", kSoft},    // assault infantry
    {4, "PT....I.", kSoft},    // riflemen
    {5, "PT......", kSoft},    // anti-tank gun
    {6, "PT......", kSoft},    // artillery
    {7, "PT......", kArmor},   // self-propelled gun
    {8, "PT......", kArmor},   // AA gun
    {9, "PT......", kArmor},   // tank
    {10, "PT.....A", kAir},    // bomber
    {11, "PT.....A", kAir},    // fighter
    {12, "..E..H..", kSoft},   // enemy HQ
    {13, "..EUM.I.", kSoft},   // scout
    {14, "..EUM.I.", kSoft},   // assault infantry
    {15, "..EUM.I.", kSoft},   // riflemen
    {16, "..EUM...", kSoft},   // anti-tank gun
    {17, "..EUM...", kSoft},   // artillery
    {18, "..EUM...", kArmor},  // self-propelled gun
    {19, "..EUM...", kArmor},  // AA gun
    {20, "..EUM...", kArmor},  // tank
    {21, "..EUM..A", kAir},    // bomber
    {22, "..EUM..A", kAir},    // fighter
    {23, "..EU....", kSoft},   // dug-in position
    {24, "..EU....", kSoft},   // reserve squad
    {25, "..EU....", kSoft},   // the reserves' heavy tank
    {26, "........", kNo},    {27, "........", kNo}, {28, "........", kNo},
    {29, "........", kNo},    {30, "........", kNo}, {31, "........", kNo},
    {32, "........", kNo},    {33, "........", kNo},  // spare rows and the end row
};

bool has(const Row& row, char kind) {
  for (const char* c = row.kinds; *c != '\0'; ++c) {
    if (*c == kind) return true;
  }
  return false;
}

TEST(UnitKinds, EveryRowOfTheTable) {
  for (int type = 0; type < kUnitSpecRows; ++type) {
    const Row& row = kRows[type];
    ASSERT_EQ(row.type, type);
    SCOPED_TRACE(type);
    EXPECT_TRUE(is_table_row(type));
    EXPECT_EQ(is_unit_type(type), has(row, 'P') || has(row, 'E'));
    EXPECT_EQ(is_player_type(type), has(row, 'P'));
    EXPECT_EQ(is_player_troop(type), has(row, 'T'));
    EXPECT_EQ(is_enemy_type(type), has(row, 'E'));
    EXPECT_EQ(is_enemy_troop(type), has(row, 'U'));
    EXPECT_EQ(is_enemy_produced(type), has(row, 'M'));
    EXPECT_EQ(is_hq_type(type), has(row, 'H'));
    EXPECT_EQ(is_infantry(type), has(row, 'I'));
    EXPECT_EQ(is_aircraft(type), has(row, 'A'));
    EXPECT_EQ(target_class(type), row.target);
    // The player's whole side opens the fog; of the enemy's, its HQs and produced types only.
    EXPECT_EQ(gives_sight(kSidePlayer, type), has(row, 'P'));
    EXPECT_EQ(gives_sight(kSideEnemy, type), type == kEnemyHq || has(row, 'M'));
  }
}

TEST(UnitKinds, NumbersOutsideTheTableAreNoKind) {
  for (int type : {-1, kUnitSpecRows, 255, 1000}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(is_table_row(type));
    EXPECT_FALSE(is_unit_type(type));
    EXPECT_FALSE(is_player_type(type) || is_enemy_type(type) || is_hq_type(type));
    EXPECT_FALSE(is_infantry(type) || is_aircraft(type));
    EXPECT_EQ(target_class(type), TargetClass::kNone);
    EXPECT_FALSE(gives_sight(kSidePlayer, type) || gives_sight(kSideEnemy, type));
  }
}

}  // namespace
