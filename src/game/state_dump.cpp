#include "game/state_dump.h"

#include <SDL.h>
#include <SDL_image.h>

#include <fstream>

#include "game/debug_list.h"
#include "state/game.h"

namespace {

nlohmann::ordered_json unit_json(const TUnit& u) {
  return nlohmann::ordered_json{{"type", u.type},     {"x", u.x},         {"y", u.y},
                                {"hp", u.hp},         {"sp", u.sp},       {"terrain", u.terrain},
                                {"status", u.status}, {"ready", u.ready}, {"moved", u.moved}};
}

nlohmann::ordered_json roster_json(const TUnit (&roster)[kRosterSlots]) {
  nlohmann::ordered_json slots = nlohmann::ordered_json::array();
  for (const TUnit& u : roster) slots.push_back(unit_json(u));
  return slots;
}

}  // namespace

nlohmann::ordered_json state_dump(const Game& g, long passes, const HostLog& log) {
  nlohmann::ordered_json audio = nlohmann::ordered_json::array();
  for (const AudioRecord& a : log.audio) {
    audio.push_back({{"pass", a.pass}, {"kind", a.kind}, {"n", a.n}});
  }
  nlohmann::ordered_json messages = nlohmann::ordered_json::array();
  for (const MessageRecord& m : log.messages) {
    messages.push_back({{"pass", m.pass}, {"text", m.text}, {"caption", m.caption}});
  }
  nlohmann::ordered_json debug_list = nlohmann::ordered_json::array();
  for (int i = 0; i < debug_line_count(g); ++i) debug_list.push_back(debug_line(g, i));
  return nlohmann::ordered_json{
      {"pass", passes},
      {"scene", g.flow.scene},
      {"wait_ticks", g.flow.wait_ticks},
      {"caption", log.caption},
      {"stage_no", g.flow.stage_no},
      {"max_stage", g.flow.max_stage},
      {"turn_no", g.flow.turn_no},
      {"view_x", g.view.view_x},
      {"view_y", g.view.view_y},
      {"hover_item", g.ui.hover_item},
      {"selected_slot", g.world.selected_slot},
      {"player_units", roster_json(g.world.player_units)},
      {"enemy_units", roster_json(g.world.enemy_units)},
      {"audio", std::move(audio)},
      {"messages", std::move(messages)},
      {"debug_list", std::move(debug_list)},
      {"closed", g.flow.closed},
  };
}

bool write_state_dump(const std::string& path, const nlohmann::ordered_json& dump,
                      std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out << dump.dump(2) << '\n';
  out.close();
  if (!out) {
    *error = "cannot write the state dump " + path;
    return false;
  }
  return true;
}

bool write_screenshot(const std::string& path, const Picture& picture, std::string* error) {
  SDL_Surface* blank = nullptr;
  SDL_Surface* shot = picture.surface;
  if (shot == nullptr) {
    blank =
        SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 24, SDL_PIXELFORMAT_RGB24);
    if (blank == nullptr) {
      *error = std::string("cannot make the screenshot: ") + SDL_GetError();
      return false;
    }
    SDL_FillRect(blank, nullptr, 0);
    shot = blank;
  }
  const bool ok = IMG_SavePNG(shot, path.c_str()) == 0;
  if (!ok) *error = "cannot write the screenshot " + path + ": " + IMG_GetError();
  SDL_FreeSurface(blank);
  return ok;
}
