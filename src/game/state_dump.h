// The game's state after a run, as JSON (--dump-state), and img_main as PNG (--screenshot).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "state/host_log.h"

struct Game;
struct Picture;

// passes: the number of passes run. Fields: pass, scene, wait_ticks, caption, stage_no,
// max_stage, turn_no, rng (the random generator's state), view_x, view_y, hover_item,
// selected_slot, player_units, enemy_units (every slot with every TUnit field), audio, messages,
// debug_list, closed.
nlohmann::ordered_json state_dump(const Game& g, long passes, const HostLog& log);
bool write_state_dump(const std::string& path, const nlohmann::ordered_json& dump,
                      std::string* error);
// A picture that was never loaded is written as the black 640x480 the window shows for it.
bool write_screenshot(const std::string& path, const Picture& picture, std::string* error);
