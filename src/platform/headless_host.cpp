#include "platform/headless_host.h"

#include "game/game_tick.h"
#include "game/input.h"
#include "state/game.h"
#include "ui/surface.h"

namespace {

// Logs grow with what happens, not with the pass count; this covers a long game without
// reallocating.
constexpr size_t kLogReserve = 4096;

// The key delivered with a scripted Ctrl press; the version box does not care which key it is.
constexpr int kScriptedKey = 'A';

bool over_picture(const PointerSample& p) {
  return p.x >= 0 && p.x < kScreenWidth && p.y >= 0 && p.y < kScreenHeight;
}

}  // namespace

HeadlessHost::HeadlessHost(Game& g, bool keep_log) : g_(g), keep_log_(keep_log) {
  g_.form.host = this;
  if (!keep_log_) return;
  log_.audio.reserve(kLogReserve);
  log_.messages.reserve(64);
}

HeadlessHost::~HeadlessHost() {
  if (g_.form.host == this) g_.form.host = nullptr;
}

void HeadlessHost::run(const InputScript& script, long ticks, PointerDriver* driver) {
  InputPlayback playback(script);
  while (passes_ < ticks && !g_.flow.closed) {
    if (driver != nullptr) {
      if (driver->finished()) break;
      input_ = PassInput{};
      input_.pointer = driver->next_sample(g_);
    } else {
      input_ = playback.at(passes_);
    }
    // A pointer resting over the picture has sent its move event by the time the pass runs.
    if (over_picture(input_.pointer)) img_unitMouseMove(g_, input_.pointer.x, input_.pointer.y);
    input_tick(g_);
    if (input_.ctrl_key) FormKeyDown(g_, kScriptedKey, true);
    game_tick(g_);
    ++passes_;
  }
}

void HeadlessHost::close_main_form() {
  g_.flow.closed = true;
}

void HeadlessHost::message_box(const char* text, const char* caption) {
  if (keep_log_) log_.messages.push_back(MessageRecord{passes_, text, caption});
}

void HeadlessHost::audio_event(const char* kind, int n) {
  if (keep_log_) log_.audio.push_back(AudioRecord{passes_, kind, n});
}
