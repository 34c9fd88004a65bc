// A fresh game with its tables and sight stencils, a map of plain terrain, and a host that
// records the message boxes it is asked to show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "state/game.h"
#include "state/host.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/vision.h"

namespace world_test {

class SilentPlayer : public MediaPlayer {
 public:
  bool open(const char*) override { return true; }
  void play(bool) override {}
  void rewind() override {}
  std::string error_text() const override { return {}; }
};

struct Message {
  std::string text;
  std::string caption;
};

class RecordingHost : public Host {
 public:
  std::vector<Message> messages;

  void set_caption(const char*) override {}
  void close_main_form() override {}
  bool escape_down() override { return false; }
  void message_box(const char* text, const char* caption) override {
    messages.push_back({text, caption});
  }
  MediaPlayer& music_player() override { return music_; }
  MediaPlayer& sound_player() override { return sound_; }
  PointerSample sample_pointer() override { return {}; }
  long pass_number() const override { return 0; }

 private:
  SilentPlayer music_;
  SilentPlayer sound_;
};

// Plain terrain (code 8) everywhere, no unit, the tables as at start-up and start SP of 100 per
// side.
inline std::unique_ptr<Game> make_game(int terrain = 8) {
  auto g = std::make_unique<Game>();
  init_tables(*g);
  build_sight_stencils(*g);
  for (auto& column : g->world.terrain_layer) {
    for (auto& cell : column) cell = static_cast<int8_t>(terrain);
  }
  g->world.player_start_sp = 100;
  g->world.enemy_start_sp = 100;
  rebuild_occupancy(*g);  // a zeroed layer would read as player slot 0 everywhere
  return g;
}

inline int count_seen(const Game& g, int side) {
  int n = 0;
  for (const auto& column : g.world.vision[side]) {
    for (int32_t cell : column) n += cell;
  }
  return n;
}

}  // namespace world_test
