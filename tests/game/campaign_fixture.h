// A game that runs in a folder of its own: the generated pictures and maps are linked in, and
// whatever it writes (SAVE.TXT) stays there and goes with it. The host logs what was heard and
// what message boxes were shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game/game_tick.h"
#include "state/game.h"
#include "support/data_copy.h"
#include "support/fake_host.h"
#include "ui/ui_fixtures.h"

namespace campaign_test {

namespace fs = std::filesystem;

inline std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void write_file(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}

class InOwnFolder : public testing::Test {
 protected:
  void SetUp() override {
    old_dir_ = fs::current_path();
    data_ = std::make_unique<test_files::DataCopy>("nevalt-campaign",
                                                   test_files::DataCopy::Maps::kLinked);
    dir_ = data_->dir();
    ASSERT_FALSE(dir_.empty());
    fs::current_path(dir_);
    g_ = std::make_unique<Game>();
    form_create(*g_, 7);
    g_->form.host = &host_;
    g_->form.fonts = ui_test::fonts();
  }
  void TearDown() override {
    if (g_ != nullptr) {
      ui_test::free_game_pictures(*g_);
      free_picture(g_->form.img_unit);
    }
    fs::current_path(old_dir_);
    data_.reset();
  }

  // The pointer and buttons as the next pass samples them.
  void input(int x, int y, bool left, bool right = false) {
    g_->input.cursor_x = x;
    g_->input.cursor_y = y;
    g_->input.mouse_x = x;
    g_->input.mouse_y = y;
    g_->input.left_down = left;
    g_->input.right_down = right;
  }

  // Runs passes with the input as it stands.
  void passes(int n) {
    for (int i = 0; i < n; ++i) {
      game_tick(*g_);
      ++host_.passes;
    }
  }

  std::string save_text() const { return read_file(dir_ / "SAVE.TXT"); }

  fs::path old_dir_;
  std::unique_ptr<test_files::DataCopy> data_;
  fs::path dir_;
  FakeHost host_;
  std::unique_ptr<Game> g_;
};

}  // namespace campaign_test
