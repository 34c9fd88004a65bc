// All state of a running game, created once and never reallocated. Operations are free
// functions on it, named as in the design (add_unit(Game&, ...), compute_reach(Game&, ...)).
#pragma once

#include "game/debug_state.h"
#include "game/flow_state.h"
#include "game/form.h"
#include "opponent/opponent_state.h"
#include "rules/rules_state.h"
#include "ui/ui_state.h"
#include "view/view_state.h"
#include "world/random.h"
#include "world/world_state.h"

struct Game {
  FlowState flow;
  InputState input;
  WorldState world;
  ViewState view;
  RulesState rules;
  OpponentState opponent;
  UiState ui;
  DebugState debug;
  Random rng;
  TForm1 form;
};
