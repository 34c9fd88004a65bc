#include "game/state_dump.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <vector>

#include "game/debug_list.h"
#include "game/output_file.h"
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

// What assisted play shows at the end of the pass.
nlohmann::ordered_json assist_json(const Game& g) {
  nlohmann::ordered_json assist = nlohmann::ordered_json::object();
  const AssistState& a = g.assist;
  nlohmann::ordered_json threat{{"shown", a.threat_shown}};
  if (a.threat_shown && a.threat_valid) {
    nlohmann::ordered_json hqs = nlohmann::ordered_json::array();
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      if (a.threat.hq_in_danger[slot] != 0) hqs.push_back(slot);
    }
    threat["cells"] = a.threat.cell_count;
    threat["hqs_in_danger"] = std::move(hqs);
  }
  assist["threat"] = std::move(threat);
  assist["muted"] = a.muted;
  assist["fullscreen"] = a.fullscreen;
  if (a.path.shown) {
    // In walking order: the first step first, the destination last.
    nlohmann::ordered_json path = nlohmann::ordered_json::array();
    for (int i = a.path.cells - 1; i >= 0; --i)
      path.push_back({a.path.path[i].x, a.path.path[i].y});
    assist["path"] = std::move(path);
  }
  const AttackForecast& f = a.forecast;
  if (f.shown) {
    assist["forecast"] = {{"target_slot", f.target_slot}, {"hit_percent", f.hit_percent},
                          {"damage", f.damage},           {"target_hp_after", f.target_hp_after},
                          {"destroyed", f.destroyed},     {"captured", f.captured}};
  }
  return assist;
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
  nlohmann::ordered_json dump{
      {"pass", passes},
      {"scene", g.flow.scene},
      {"wait_ticks", g.flow.wait_ticks},
      {"caption", log.caption},
      {"stage_no", g.flow.stage_no},
      {"max_stage", g.flow.max_stage},
      {"turn_no", g.flow.turn_no},
      {"rng", g.rng.state},
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
  if (g.flow.assist) dump["assist"] = assist_json(g);
  return dump;
}

bool write_state_dump(const std::string& path, const nlohmann::ordered_json& dump,
                      std::string* error) {
  const std::string text = dump.dump(2) + '\n';
  return write_output_file(path, text.data(), text.size(), "state dump", error);
}

namespace {

// The PNG is made in memory and then written with every write checked: the image library does
// not report a write or a close that fails (a full disk left an empty file behind, unnoticed).
size_t SDLCALL append_to_buffer(SDL_RWops* rw, const void* data, size_t size, size_t count) {
  auto* buffer = static_cast<std::vector<uint8_t>*>(rw->hidden.unknown.data1);
  const auto* bytes = static_cast<const uint8_t*>(data);
  buffer->insert(buffer->end(), bytes, bytes + size * count);
  return count;
}

Sint64 SDLCALL buffer_size(SDL_RWops* rw) {
  return static_cast<Sint64>(static_cast<std::vector<uint8_t>*>(rw->hidden.unknown.data1)->size());
}

Sint64 SDLCALL no_seek(SDL_RWops*, Sint64, int) {
  return SDL_SetError("the screenshot buffer only grows");
}

size_t SDLCALL no_read(SDL_RWops*, void*, size_t, size_t) {
  return 0;
}

int SDLCALL close_buffer(SDL_RWops* rw) {
  SDL_FreeRW(rw);
  return 0;
}

bool encode_png(SDL_Surface* shot, std::vector<uint8_t>* png) {
  SDL_RWops* rw = SDL_AllocRW();
  if (rw == nullptr) return false;
  rw->type = SDL_RWOPS_UNKNOWN;
  rw->hidden.unknown.data1 = png;
  rw->size = buffer_size;
  rw->seek = no_seek;
  rw->read = no_read;
  rw->write = append_to_buffer;
  rw->close = close_buffer;
  return IMG_SavePNG_RW(shot, rw, 1) == 0;
}

}  // namespace

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
  std::vector<uint8_t> png;
  const bool encoded = encode_png(shot, &png);
  SDL_FreeSurface(blank);
  if (!encoded) {
    *error = "cannot make the screenshot " + path + ": " + IMG_GetError();
    return false;
  }
  return write_output_file(path, png.data(), png.size(), "screenshot", error);
}
