// The scene codes of the scene machine. FlowState::scene holds one of them as a plain int32_t,
// the number the state dump writes; the names are what the code says.
//
// The values are the game's own and the pass depends on their order: game_tick runs the blocks
// in ascending code order, so a block that moves the scene to a higher code lets that block run
// in the same pass, and a move to a lower code waits for the next pass. A gate is a scene that
// only waits for a button to be released, so that one press does not act twice.
#pragma once

#include <cstdint>

#include "state/first_scene.h"

// Every scene, in ascending code order: X(name, code).
#define NEVALT_SCENES(X)                                                                           \
  /* The screens between stages. */                                                                \
  X(kSceneTitleLoad, kFirstSceneCode) /* loads the title's pictures and starts its music */        \
  X(kSceneTitleMenu, 10)              /* "Start", "Continue", "Shutdown" */                        \
  X(kSceneIntermission, 11)           /* "セーブ", "再戦", "出撃" */                        \
  X(kSceneIntermissionSavePause, 12)  /* the save notice, then the intermission again */           \
  X(kSceneStageSelect, 13)            /* the cleared stages to play again */                       \
  X(kSceneStageStart, 20)             /* sets the stage up and frames its first turn */            \
  /* The map; an HQ's commands and its production. */                                              \
  X(kSceneMap, 100)                /* the player's turn on the map */                              \
  X(kSceneHqMenu, 110)             /* "攻撃", "スキル", "待機" of an HQ */                  \
  X(kSceneProductionListGate, 120) /* left button up, then the production list */                  \
  X(kSceneProductionList, 130)     /* the unit types an HQ can produce */                          \
  X(kSceneDeployGate, 140)         /* left button up, then the cell for the new unit */            \
  X(kSceneDeployCell, 150)         /* the free cell beside the HQ, and the placement */            \
  X(kSceneHqAttackGate, 160)       /* left button up, then an HQ's attack */                       \
  /* A unit's commands, its walk and its attack. */                                                \
  X(kSceneUnitMenuGate, 300)    /* left button up, then the unit's command menu */                 \
  X(kSceneUnitMenu, 310)        /* "移動", "攻撃", "スキル", "待機" of a unit */          \
  X(kSceneMoveTargetGate, 320)  /* left button up, then the destination pick */                    \
  X(kSceneAttackStart, 330)     /* lists the targets in range */                                   \
  X(kSceneSkillPanel, 340)      /* the empty skill panel */                                        \
  X(kSceneMoveTarget, 360)      /* the reachable cells outlined, a destination chosen */           \
  X(kSceneWalk, 370)            /* one cell of the walk per pass */                                \
  X(kSceneAttackTarget, 371)    /* the attack range outlined, a target chosen */                   \
  X(kSceneAttackPause, 372)     /* the damage popup stays */                                       \
  X(kSceneAttackAftermath, 373) /* removals, captures and the victory test */                      \
  X(kSceneVictoryPause, 374)    /* the victory banner stays, then the next stage */                \
  X(kSceneEnding, 375)          /* the ending picture after the last stage */                      \
  /* The map menu and its screens. */                                                              \
  X(kSceneMapMenuGate, 380)        /* right button up, then the map menu */                        \
  X(kSceneMapMenu, 390)            /* "ユニット一覧", "ターン終了", "セーブ", ... */ \
  X(kSceneMapSavePause, 391)       /* the save notice, then the map */                             \
  X(kSceneMapGate, 400)            /* right button up, then the map */                             \
  X(kSceneUnitMenuReturnGate, 401) /* right button up, then the same unit's menu again */          \
  X(kSceneUnitList, 410)           /* the player's roster and the status panel */                  \
  X(kSceneVictoryCondition, 420)   /* what wins the stage */                                       \
  /* The hand-over to the computer and its units, one after another. */                            \
  X(kSceneEnemyTurnPause, 5000)   /* the pause before the computer's turn */                       \
  X(kSceneEnemyTurnStart, 5010)   /* income, repairs and the banner */                             \
  X(kSceneEnemyBannerPause, 5020) /* the banner stays */                                           \
  X(kSceneEnemyRepairs, 5030)     /* one repair popup per pass */                                  \
  X(kSceneEnemyUnitPause, 5031)   /* the pause before each computer unit */                        \
  X(kSceneEnemyProduction, 5032)  /* the computer's HQs may produce */                             \
  X(kSceneEnemyStrategy, 5033)    /* the next unit and where it goes */                            \
  X(kSceneEnemyWalk, 5040)        /* one cell of its walk per pass, then its attack */             \
  X(kSceneEnemyNextUnit, 5050)    /* removals, then the next unit or the hand-back */              \
  X(kSceneEnemyAttackPause, 5060) /* the damage popup stays */                                     \
  X(kSceneDefeatPause, 5070)      /* the defeat banner stays, then the title */                    \
  /* The hand-back to the player. */                                                               \
  X(kScenePlayerTurnPause, 6000)     /* the pause before the player's turn */                      \
  X(kScenePlayerTurnStart, 6010)     /* income, repairs and the banner */                          \
  X(kScenePlayerBannerPause, 6020)   /* the banner stays */                                        \
  X(kScenePlayerRepairs, 6030)       /* one repair popup per pass */                               \
  X(kScenePlayerTurnLastPause, 6040) /* the last pause, then the map */

enum Scene : int32_t {
#define NEVALT_SCENE_ENUMERATOR(name, code) name = code,
  NEVALT_SCENES(NEVALT_SCENE_ENUMERATOR)
#undef NEVALT_SCENE_ENUMERATOR
};

// Every scene in the order a pass reaches their blocks.
inline constexpr Scene kScenes[] = {
#define NEVALT_SCENE_LISTED(name, code) name,
    NEVALT_SCENES(NEVALT_SCENE_LISTED)
#undef NEVALT_SCENE_LISTED
};
inline constexpr int kSceneCount = sizeof(kScenes) / sizeof(kScenes[0]);

constexpr bool scenes_ascend() {
  for (int i = 1; i < kSceneCount; ++i) {
    if (kScenes[i - 1] >= kScenes[i]) return false;
  }
  return true;
}
static_assert(scenes_ascend(), "the pass relies on the scene codes ascending in this list");

// The scenes of the player's turn on the map: from the map itself up to the hand-over to the
// computer, the victory pause and the ending among them.
constexpr bool is_player_turn_scene(int32_t scene) {
  return scene >= kSceneMap && scene < kSceneEnemyTurnPause;
}
