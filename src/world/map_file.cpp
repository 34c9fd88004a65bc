#include "world/map_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "state/game.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/text.h"

const char* const kMapMissingText = N_("ファイルが見つかりませんでした\n");
const char* const kMapMissingCaption = N_("ネヴァルト");
const char* const kMapShortFormat =
    N_("マップファイル %s が短すぎます（%zu バイト、必要なのは %d バイト）\n");

const char* stage_map_file(int stage) {
  static const char* const kNames[] = {
      "map001.fmf", "map002.fmf", "map003.fmf", "map004.fmf", "map005.fmf",
      "map006.fmf", "map007.fmf", "map008.fmf", "map009.fmf", "map010.fmf",
  };
  constexpr int kStages = sizeof kNames / sizeof kNames[0];
  return stage >= 0 && stage < kStages ? kNames[stage] : kNames[0];
}

int object_unit_type(int code, int* side) {
  // Indexed by code - 16 and code - 48: the unit row whose image is the code.
  static const int kPlayerTypes[] = {1, 2, 3, 9, 7, 8, 10, 11, 4, 5, 6};
  static const int kEnemyTypes[] = {12, 13, 14, 20, 18, 19, 21, 22, 15, 16, 17, 23};
  constexpr int kPlayerCodes = sizeof kPlayerTypes / sizeof kPlayerTypes[0];
  constexpr int kEnemyCodes = sizeof kEnemyTypes / sizeof kEnemyTypes[0];
  if (code >= 16 && code < 16 + kPlayerCodes) {
    if (side != nullptr) *side = kSidePlayer;
    return kPlayerTypes[code - 16];
  }
  if (code >= 48 && code < 48 + kEnemyCodes) {
    if (side != nullptr) *side = kSideEnemy;
    return kEnemyTypes[code - 48];
  }
  return 0;
}

namespace {

// The text comes translated: the short map's is put together from a translated format.
void tell(Game& g, const char* text) {
  if (g.form.host != nullptr) g.form.host->message_box(text, tr(g, kMapMissingCaption));
}

}  // namespace

bool load_stage_map(Game& g, int stage) {
  const char* name = stage_map_file(stage);
  // Without O_NONBLOCK a FIFO in the map's place would hold the game at the open.
  const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    // A folder or a device is no more a map than a missing file is.
    if (fd >= 0) ::close(fd);
    tell(g, tr(g, kMapMissingText));
    return false;
  }
  // Cleared on every load, so nothing of the previous map can show through.
  uint8_t buffer[kMapFileBytes] = {};
  size_t size = 0;
  bool read_error = false;
  while (size < sizeof buffer) {
    const ssize_t n = ::read(fd, buffer + size, sizeof buffer - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) read_error = true;
    if (n <= 0) break;
    size += static_cast<size_t>(n);
  }
  ::close(fd);
  if (read_error) {
    tell(g, tr(g, kMapMissingText));
    return false;
  }
  if (size < static_cast<size_t>(kMapFileBytes)) {
    char text[160];
    std::snprintf(text, sizeof text, tr(g, kMapShortFormat), name, size, kMapFileBytes);
    tell(g, text);
    return false;
  }
  load_map_image(g, buffer, size);
  return true;
}

void load_map_image(Game& g, const uint8_t* bytes, size_t size) {
  WorldState& w = g.world;
  const auto byte_at = [&](size_t offset) -> uint8_t {
    return offset < size ? bytes[offset] : uint8_t{0};
  };

  for (int i = 0; i < kMapHeaderBytes; ++i) w.map_header[i] = byte_at(i);
  for (int y = 0; y < kMapSize; ++y) {
    for (int x = 0; x < kMapSize; ++x) {
      const size_t cell = static_cast<size_t>(kMapSize * y + x);
      const auto terrain = static_cast<int8_t>(byte_at(kTerrainLayerOffset + cell));
      w.terrain_layer[x][y] = terrain >= 0 && terrain < kTerrainRows ? terrain : int8_t{0};
      w.object_layer[x][y] = static_cast<int8_t>(byte_at(kObjectLayerOffset + cell));
    }
  }

  clear_rosters(g);
  for (CellPoint& point : w.reserve_points) point = CellPoint{kNone, kNone};
  w.reserves_pending = true;

  // The last entry stays the end marker, so at most this many squads wait in reserve.
  constexpr int kLastSquadEntry = kReservePoints - 2;
  // While the starting units are placed, each placement's redraw still rebuilds the occupancy
  // layer and the player's vision but paints nothing: the stage start paints the whole picture
  // right after the load, over every pixel these redraws would have painted, so they are only
  // time (one full map per unit).
  const PaintLock held(g.form.img_main);
  int next_squad = 1;
  for (int y = 1; y < kMapSize - 1; ++y) {
    for (int x = 1; x < kMapSize - 1; ++x) {
      const int code = static_cast<uint8_t>(w.object_layer[x][y]);
      int side = kSidePlayer;
      const int type = object_unit_type(code, &side);
      if (type != 0) {
        add_unit(g, x, y, type, side, default_hp);
      } else if (code == kObjectAceReserve) {
        w.reserve_points[0] = CellPoint{x, y};
      } else if (code == kObjectSquadReserve && next_squad <= kLastSquadEntry) {
        w.reserve_points[next_squad++] = CellPoint{x, y};
      }
    }
  }
}
