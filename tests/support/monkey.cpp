#include "support/monkey.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bot/autoplay.h"
#include "game/campaign.h"
#include "game/game_tick.h"
#include "game/input.h"
#include "platform/input_script.h"
#include "state/game.h"
#include "support/data_copy.h"
#include "support/fake_host.h"
#include "support/invariants.h"
#include "ui/surface.h"
#include "ui/window.h"
#include "view/map_view.h"
#include "world/map_file.h"
#include "world/roster_queries.h"

namespace monkey {

namespace {

namespace fs = std::filesystem;

// The monkey's own generator (splitmix64), apart from the game's so the game's draws stay its own.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  bool chance(int per_thousand) { return below(1000) < per_thousand; }

 private:
  uint64_t s_;
};

std::string read_all(const fs::path& p) {
  std::error_code ec;
  if (fs::is_directory(p, ec)) return "<folder>";
  std::ifstream in(p, std::ios::binary);
  if (!in) return "<none>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_all(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// Where the monkey aims: a point and the buttons to hold there for a few passes.
struct Gesture {
  int x = 0;
  int y = 0;
  bool left = false;
  bool right = false;
  int hold = 1;     // passes with the buttons as given
  int release = 1;  // passes with both buttons up afterwards, at the same point
};

class Monkey {
 public:
  Monkey(Options options, FontCache* fonts)
      : o_(std::move(options)), fonts_(fonts), rng_(o_.seed) {}

  Result run() {
    if (data_.dir().empty()) return fail_now("cannot make the monkey's data folder");
    const fs::path old_dir = fs::current_path();
    fs::current_path(data_.dir());
    start_game();
    for (long pass = 0; pass < o_.passes && r_.ok; ++pass) {
      if (o_.damage_files) maybe_damage();
      const int before = g_->flow.scene;
      const std::string save_before = read_all(kSaveFileName);
      const int hqs_before = count_units(*g_, kCountPlayerHqs) + count_units(*g_, kCountEnemyHqs);
      const int player_hqs_before = count_units(*g_, kCountPlayerHqs);
      input_ = o_.mix_bot ? mixed_input() : next_input();
      run_pass();
      count_outcomes(before, hqs_before, player_hqs_before);
      r_.passes = pass + 1;
      check_pass(before, save_before);
      if (o_.progress_every > 0 && o_.progress && (pass + 1) % o_.progress_every == 0) {
        o_.progress(progress_line());
      }
      if (host_.closes > 0 || g_->flow.closed) restart();
    }
    stop_game();
    fs::current_path(old_dir);
    drain_log();
    return r_;
  }

  std::string progress_line() const {
    char line[160];
    std::snprintf(line, sizeof line,
                  "pass %ld: scene %d, stage %d, turn %d, %zu scenes seen, %ld restarts, "
                  "%ld saves, %ld damages",
                  r_.passes, g_->flow.scene, g_->flow.stage_no, g_->flow.turn_no, r_.scenes.size(),
                  r_.restarts, r_.saves_written, r_.damages);
    return line;
  }

 private:
  Result fail_now(const std::string& why) {
    r_.ok = false;
    r_.failure = why;
    return r_;
  }

  void fail(const std::string& why) {
    if (!r_.ok) return;
    r_.ok = false;
    char where[96];
    std::snprintf(where, sizeof where, "pass %ld (seed %llu), scene %d: ", r_.passes,
                  static_cast<unsigned long long>(o_.seed), g_->flow.scene);
    r_.failure = where + why;
  }

  void start_game() {
    g_ = std::make_unique<Game>();
    form_create(*g_, static_cast<unsigned>(rng_.next()));
    g_->form.host = &host_;
    g_->form.fonts = fonts_;
    host_.closes = 0;
    gesture_left_ = 0;
  }

  void stop_game() {
    free_picture(g_->form.img_main);
    free_picture(g_->form.img_window);
    free_picture(g_->form.img_tile);
    free_picture(g_->form.img_unit);
    free_sprite_sheet(g_->form.ImageList1);
    g_->form.host = nullptr;
  }

  // "Shutdown" ends the program; the monkey starts it again, as a player would.
  void restart() {
    stop_game();
    start_game();
    r_.restarts += 1;
  }

  // A long run would keep a caption for every pass: only the message boxes are counted.
  void drain_log() {
    r_.messages += static_cast<long>(host_.boxes.size());
    host_.boxes.clear();
    host_.captions.clear();
    host_.audio.clear();
  }

  void run_pass() {
    const PassInput& in = input_;
    host_.pointer = in.pointer;
    host_.escape = in.escape;
    const bool over = in.pointer.x >= 0 && in.pointer.x < kScreenWidth && in.pointer.y >= 0 &&
                      in.pointer.y < kScreenHeight;
    if (over) img_unitMouseMove(*g_, in.pointer.x, in.pointer.y);
    input_tick(*g_);
    if (in.ctrl_key) FormKeyDown(*g_, 'A', true);
    game_tick(*g_);
    host_.passes += 1;
    drain_log();
  }

  void check_pass(int before, const std::string& save_before) {
    const Game& g = *g_;
    const int after = g.flow.scene;
    r_.scenes.insert(after);
    if (before != 20 && after == 100 && g.flow.turn_no > r_.max_turn) r_.max_turn = g.flow.turn_no;
    if (before == 11 || before == 13) {
      if (after == 100 && g.flow.stage_no > r_.max_stage_started) {
        r_.max_stage_started = g.flow.stage_no;
      }
    }

    std::string why;
    const bool current = before == after && !input_.escape && scene_leaves_occupancy_current(after);
    if (current) r_.strict_checks += 1;
    if (!check_invariants(g, current ? OccupancyCheck::kCurrent : OccupancyCheck::kNamesSlots,
                          &why)) {
      fail(why);
      return;
    }

    // The picture is always the full screen once the title has been shown.
    const SDL_Surface* main = g.form.img_main.surface;
    if (main != nullptr && (main->w != kScreenWidth || main->h != kScreenHeight)) {
      fail("img_main is no longer 640x480");
      return;
    }

    // The save: written whole or not at all, with the numbers of the moment, and never lost.
    std::error_code ec;
    if (!tmp_is_blocked_ && fs::exists(std::string(kSaveFileName) + ".tmp", ec)) {
      fail("SAVE.TXT.tmp was left behind");
      return;
    }
    const std::string save_after = read_all(kSaveFileName);
    if (save_after != save_before) {
      char expect[32];
      std::snprintf(expect, sizeof expect, "%d,%d", g.flow.stage_no, g.flow.max_stage);
      if (save_after != expect) {
        fail("SAVE.TXT became \"" + save_after.substr(0, 40) + "\", not \"" + expect + "\"");
        return;
      }
      r_.saves_written += 1;
    }
  }

  // HQ captures keep the number of HQs and move one from a side to the other.
  void count_outcomes(int before, int hqs_before, int player_hqs_before) {
    const Game& g = *g_;
    const int after = g.flow.scene;
    if (after == 374 && before != 374) r_.victories += 1;
    if (after == 5070 && before != 5070) r_.defeats += 1;
    const int player_hqs = count_units(g, kCountPlayerHqs);
    const int hqs = player_hqs + count_units(g, kCountEnemyHqs);
    if (before != 20 && after != 20 && before >= 100 && hqs == hqs_before &&
        player_hqs != player_hqs_before) {
      r_.hq_captures += 1;
    }
    int players = 0;
    int enemies = 0;
    for (int s = 0; s < kRosterSlots; ++s) {
      players += g.world.player_units[s].type != 0;
      enemies += g.world.enemy_units[s].type != 0;
    }
    if (players > r_.max_player_units) r_.max_player_units = players;
    if (enemies > r_.max_enemy_units) r_.max_enemy_units = enemies;
  }

  // ---- input ------------------------------------------------------------------------------

  // Long stretches of the built-in player, short ones of the monkey; each stretch of the player
  // starts with a fresh one, which finds its way from whatever the monkey left.
  PassInput mixed_input() {
    if (stretch_left_ <= 0) {
      bot_turn_ = !bot_turn_;
      stretch_left_ = bot_turn_ ? rng_.between(3000, 20000) : rng_.between(300, 3000);
      if (bot_turn_) {
        AutoplayOptions options;
        options.dwell = rng_.between(0, 2);
        bot_ = std::make_unique<Autoplay>(options);
      }
    }
    --stretch_left_;
    if (!bot_turn_ || bot_->finished()) return next_input();
    r_.bot_passes += 1;
    PassInput in;
    in.pointer = bot_->next_sample(*g_);
    last_ = in.pointer;
    gesture_left_ = 0;
    return in;
  }

  PassInput next_input() {
    PassInput in;
    // Escape and Ctrl are rare: Escape throws the game back to the title. A game that has not
    // left its scene for a long time (a pause the monkey cannot end) is sent there too.
    if (g_->flow.scene == last_scene_) {
      ++same_scene_passes_;
    } else {
      last_scene_ = g_->flow.scene;
      same_scene_passes_ = 0;
    }
    in.escape = escape_left_ > 0;
    if (escape_left_ > 0) --escape_left_;
    if (escape_left_ == 0 && (rng_.below(6000) == 0 || same_scene_passes_ > kStuckPasses)) {
      escape_left_ = rng_.between(1, 3);
      same_scene_passes_ = 0;
    }
    in.ctrl_key = rng_.below(2500) == 0;

    if (gesture_left_ == 0) {
      // Press where a menu row lit up under the resting pointer.
      const bool resting = !last_.left && !last_.right;
      if (resting && g_->ui.hover_item > 0 && rng_.chance(600)) {
        current_ = Gesture{last_.x, last_.y, true, false, rng_.between(1, 3), rng_.between(1, 3)};
      } else {
        current_ = choose_gesture();
      }
      gesture_left_ = current_.hold + current_.release;
    }
    const bool holding = gesture_left_ > current_.release;
    --gesture_left_;
    // Now and then the pointer drifts a little while a button is held.
    int x = current_.x;
    int y = current_.y;
    if (holding && rng_.chance(100)) {
      x += rng_.between(-3, 3);
      y += rng_.between(-3, 3);
    }
    in.pointer = PointerSample{x, y, holding && current_.left, holding && current_.right};
    last_ = in.pointer;
    return in;
  }

  // A point strictly inside row k of a menu window at (x0, y0) of the given width.
  Gesture on_menu_row(int x0, int y0, int width, int k) {
    const Rect band = menu_row_band(x0, y0, width, k);
    return Gesture{rng_.between(band.left + 1, band.right - 2),
                   rng_.between(band.top + 1, band.bottom - 2),
                   true,
                   false,
                   rng_.between(1, 3),
                   rng_.between(1, 4)};
  }

  // The centre (more or less) of a map cell on the screen, if it is in the inner area.
  bool on_cell(int x, int y, Gesture* gesture) {
    const int px = 32 * (x - g_->view.view_x) + rng_.between(4, 27);
    const int py = 32 * (y - g_->view.view_y) + rng_.between(4, 27);
    if (px <= 32 || px >= 608 || py <= 32 || py >= 448) return false;
    *gesture = Gesture{px, py, true, false, rng_.between(1, 2), rng_.between(1, 3)};
    return true;
  }

  bool on_random_cell(const std::function<bool(int, int)>& wanted, Gesture* gesture) {
    std::vector<std::pair<int, int>> cells;
    for (int j = 1; j < kViewRows - 1; ++j) {
      for (int i = 1; i < kViewColumns - 1; ++i) {
        const int x = g_->view.view_x + i;
        const int y = g_->view.view_y + j;
        if (wanted(x, y)) cells.emplace_back(x, y);
      }
    }
    if (cells.empty()) return false;
    const auto& c = cells[rng_.below(static_cast<int>(cells.size()))];
    return on_cell(c.first, c.second, gesture);
  }

  Gesture random_gesture() {
    Gesture gst;
    if (rng_.chance(750)) {
      gst.x = rng_.between(0, kScreenWidth - 1);
      gst.y = rng_.between(0, kScreenHeight - 1);
    } else {
      // Outside the window, far and near, and on its very edges.
      gst.x = rng_.between(-300, kScreenWidth + 300);
      gst.y = rng_.between(-300, kScreenHeight + 300);
    }
    const int b = rng_.below(100);
    gst.left = b < 55 || b >= 92;
    gst.right = b >= 75;
    gst.hold = rng_.chance(100) ? rng_.between(5, 40) : rng_.between(1, 4);
    gst.release = rng_.between(1, 4);
    return gst;
  }

  Gesture choose_gesture() {
    const Game& g = *g_;
    const int scene = g.flow.scene;
    Gesture gst;
    // Half of the time the monkey goes for what a player would do next.
    if (rng_.chance(500)) {
      switch (scene) {
        case 10: {
          // "Start" and "Continue"; "Shutdown" rarely.
          const int k = rng_.chance(15) ? 3 : (rng_.chance(600) ? 1 : 2);
          return on_menu_row(240, 320, 160, k);
        }
        case 11: {
          const int k = rng_.chance(700) ? 3 : (rng_.chance(500) ? 2 : 1);
          return on_menu_row(384, 100, 256, k);
        }
        case 13:
          if (rng_.chance(150)) return Gesture{300, 400, false, true, 2, 2};
          return on_menu_row(0, 0, 256, rng_.between(1, 10));
        case 375:
          return Gesture{rng_.between(0, 639), rng_.between(0, 479), true, false, 2, 2};
        case 100: {
          const int what = rng_.below(100);
          if (what < 60 && on_random_cell(
                               [&](int x, int y) {
                                 const int o = g.world.occupancy[x][y];
                                 return o < kRosterSlots && g.world.player_units[o].ready == 1;
                               },
                               &gst)) {
            return gst;
          }
          if (what < 80)
            return Gesture{rng_.between(64, 576), rng_.between(64, 416), false, true,
                           rng_.between(1, 3),    rng_.between(1, 3)};
          break;
        }
        case 360:
          if (on_random_cell(
                  [&](int x, int y) { return g.rules.reach[x][y] <= g.world.selected_spec.move; },
                  &gst)) {
            return gst;
          }
          break;
        case 371:
          if (on_random_cell(
                  [&](int x, int y) {
                    const int o = g.world.occupancy[x][y];
                    return o != kNoUnit && o >= kEnemyOccupancyBase &&
                           g.rules.attack_range[x][y] == 0;
                  },
                  &gst)) {
            return gst;
          }
          break;
        default:
          break;
      }
    }
    return random_gesture();
  }

  // ---- damage -----------------------------------------------------------------------------

  void maybe_damage() {
    // Undo a blocked save after a while, so saving works again.
    if (blocked_left_ > 0 && --blocked_left_ == 0) {
      std::error_code ec;
      fs::remove_all(kSaveFileName, ec);
      fs::remove_all(std::string(kSaveFileName) + ".tmp", ec);
      tmp_is_blocked_ = false;
    }
    if (rng_.below(3000) != 0) return;
    r_.damages += 1;
    std::error_code ec;
    switch (rng_.below(7)) {
      case 0:  // the save file gone
        if (blocked_left_ == 0) fs::remove(kSaveFileName, ec);
        break;
      case 1: {  // garbage, or numbers far outside the stages
        static const char* const kTexts[] = {"",
                                             "x",
                                             "-1,-1",
                                             "2147483647,5",
                                             "99999999999999999999,3",
                                             "7",
                                             " 3 , 4",
                                             "\xff\xfe",
                                             "-2147483648,-2147483648",
                                             "9,9999"};
        if (blocked_left_ == 0) write_all(kSaveFileName, kTexts[rng_.below(10)]);
        break;
      }
      case 2:  // random bytes
        if (blocked_left_ == 0) {
          std::string bytes(static_cast<size_t>(rng_.between(0, 64)), '\0');
          for (char& c : bytes) c = static_cast<char>(rng_.below(256));
          write_all(kSaveFileName, bytes);
        }
        break;
      case 3:  // a folder where the save or its temporary file should go: saves fail
        if (blocked_left_ == 0) {
          const bool tmp = rng_.chance(500);
          if (tmp) {
            fs::create_directory(std::string(kSaveFileName) + ".tmp", ec);
            tmp_is_blocked_ = true;
          } else {
            fs::remove(kSaveFileName, ec);
            fs::create_directory(kSaveFileName, ec);
          }
          blocked_left_ = rng_.between(200, 3000);
        }
        break;
      default:
        damage_map();
        break;
    }
  }

  // One map file cut short, overwritten in part or given random units, or put back whole.
  void damage_map() {
    const auto& maps = data_.maps();
    if (maps.empty()) return;
    const fs::path original = maps[rng_.below(static_cast<int>(maps.size()))];
    const fs::path copy = original.filename();
    std::string bytes = read_all(original);
    switch (rng_.below(5)) {
      case 0:
        bytes.resize(static_cast<size_t>(rng_.below(static_cast<int>(bytes.size()))));
        break;
      case 1:
        for (int n = rng_.between(1, 400); n > 0 && !bytes.empty(); --n) {
          bytes[rng_.below(static_cast<int>(bytes.size()))] = static_cast<char>(rng_.below(256));
        }
        break;
      case 2:
        // Units of every code on many cells: a crowded map, full rosters.
        for (int n = rng_.between(50, 400); n > 0; --n) {
          const size_t at = static_cast<size_t>(kObjectLayerOffset + rng_.below(4096));
          if (at < bytes.size()) bytes[at] = static_cast<char>(rng_.between(14, 63));
        }
        break;
      case 3:
        bytes += std::string(static_cast<size_t>(rng_.between(1, 5000)), '\x10');
        break;
      default:
        break;  // the original again
    }
    write_all(copy, bytes);
  }

  Options o_;
  FontCache* fonts_;
  Rng rng_;
  test_files::DataCopy data_{"nevalt-monkey"};
  FakeHost host_;
  PassInput input_;
  std::unique_ptr<Game> g_;
  Result r_;

  std::unique_ptr<Autoplay> bot_;
  bool bot_turn_ = false;
  long stretch_left_ = 0;

  Gesture current_;
  int gesture_left_ = 0;
  PointerSample last_;
  int escape_left_ = 0;
  static constexpr int kStuckPasses = 2000;
  int last_scene_ = -1;
  int same_scene_passes_ = 0;
  int blocked_left_ = 0;
  bool tmp_is_blocked_ = false;
};

}  // namespace

Result run(const Options& options, FontCache* fonts) {
  Monkey m(options, fonts);
  return m.run();
}

}  // namespace monkey
