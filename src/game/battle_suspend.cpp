#include "game/battle_suspend.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "game/audio.h"
#include "game/battle_file.h"
#include "game/save_folder.h"
#include "state/game.h"
#include "state/scene.h"
#include "ui/popups.h"
#include "view/map_view.h"

namespace {

std::string reason(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// Reads the battle file whole, and one byte more, so that a file longer than any battle file is
// told from one of the right length. False with *missing when there is none; false with *error
// when it cannot be read.
bool read_battle_file(const std::string& path, uint8_t* bytes, size_t capacity, size_t* size,
                      bool* missing, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *missing = errno == ENOENT;
    *error = reason("cannot open", path);
    return false;
  }
  *size = std::fread(bytes, 1, capacity, file);
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  if (read_error) {
    *error = reason("cannot read", path);
    return false;
  }
  return true;
}

}  // namespace

std::string battle_file(const Game& g) {
  return save_folder_file(g, kBattleFileName);
}

bool suspend_battle(Game& g) {
  if (!g.flow.assist) return true;
  SuspendedBattle battle;
  capture_battle(g, &battle);
  uint8_t bytes[kBattleFileBytes];
  encode_battle(battle, bytes);
  std::string error;
  const std::string path = battle_file(g);
  if (make_save_folder(g, &error) &&
      replace_file(path.c_str(), bytes, sizeof bytes, std::rename, &error)) {
    return true;
  }
  tell_save_problem(g, kSuspendFailedText, error);
  return false;
}

bool resume_battle(Game& g) {
  if (!g.flow.assist) return false;
  const std::string path = battle_file(g);
  uint8_t bytes[kBattleFileBytes + 1];
  size_t size = 0;
  bool missing = false;
  std::string error;
  if (!read_battle_file(path, bytes, sizeof bytes, &size, &missing, &error)) {
    if (!missing) tell_save_problem(g, kResumeFailedText, error);
    return false;
  }
  SuspendedBattle battle;
  if (!decode_battle(g, bytes, size, &battle, &error)) {
    tell_save_problem(g, kResumeFailedText, path + ": " + error);
    return false;
  }
  if (battle.stage_no != g.flow.stage_no) {
    char detail[128];
    std::snprintf(detail, sizeof detail, ": a battle of Stage %lld, the save is at Stage %lld",
                  static_cast<long long>(battle.stage_no) + 1,
                  static_cast<long long>(g.flow.stage_no) + 1);
    tell_save_problem(g, kResumeFailedText, path + detail);
    return false;
  }
  // Stages unlocked since the save was written are kept, and so are those the save knows of.
  const int32_t saved_max_stage = g.flow.max_stage;
  restore_battle(battle, g);
  g.flow.max_stage = std::max(saved_max_stage, battle.max_stage);

  play_music(g, Track::kBattle);
  redraw(g);
  draw_banner(g, kBannerPlayerTurn);
  // The hand-back's own pauses follow; by their end the button that chose "Continue" is up.
  g.flow.scene = kScenePlayerBannerPause;
  g.flow.wait_ticks = 60;
  return true;
}

void discard_battle(Game& g) {
  if (!g.flow.assist) return;
  const std::string path = battle_file(g);
  if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
    tell_save_problem(g, kDiscardFailedText, reason("cannot remove", path));
  }
}

bool battle_can_suspend(int scene) {
  switch (scene) {
    case kSceneMap:
    case kSceneHqMenu:
    case kSceneProductionListGate:
    case kSceneProductionList:
    case kSceneDeployGate:
    case kSceneDeployCell:
    case kSceneHqAttackGate:
    case kSceneUnitMenuGate:
    case kSceneUnitMenu:
    case kSceneMoveTargetGate:
    case kSceneSkillPanel:
    case kSceneMoveTarget:
    case kSceneAttackTarget:
    case kSceneMapMenuGate:
    case kSceneMapMenu:
    case kSceneMapSavePause:
    case kSceneMapGate:
    case kSceneUnitMenuReturnGate:
    case kSceneUnitList:
    case kSceneVictoryCondition:
      return true;
    default:
      return false;
  }
}

void FormClose(Game& g) {
  // The close box and the quit that follows it arrive as two events; the battle is written once.
  if (g.flow.closed) return;
  if (g.flow.assist && battle_can_suspend(g.flow.scene)) suspend_battle(g);
}
