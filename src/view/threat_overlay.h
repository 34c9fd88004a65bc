// The threat overlay of assisted play: a red tint over the cells the computer's seen units could
// attack in their next turn, and a yellow frame around a player HQ they could take.
#pragma once

#include "ui/surface.h"

struct Game;

constexpr Rgb kThreatTint{255, 0, 0};
constexpr int kThreatAlpha = 72;  // of 256
constexpr Rgb kHqDangerFrame{255, 255, 0};

// Over the view with top-left cell (vx, vy), from g.assist.threat; nothing while the overlay is
// off or not yet worked out.
void draw_threat_overlay(Game& g, int vx, int vy);
