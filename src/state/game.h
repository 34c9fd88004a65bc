// All state of a running game, created once and never reallocated. Operations are free
// functions on it, named as in the design (add_unit(Game&, ...), compute_reach(Game&, ...)).
#pragma once

#include "state/assist_state.h"
#include "state/debug_state.h"
#include "state/flow_state.h"
#include "state/form.h"
#include "state/opponent_state.h"
#include "state/random.h"
#include "state/rules_state.h"
#include "state/save_state.h"
#include "state/text_state.h"
#include "state/ui_state.h"
#include "state/view_state.h"
#include "state/world_state.h"

struct Game {
  FlowState flow;
  SaveState save;
  TextState text;
  InputState input;
  WorldState world;
  ViewState view;
  RulesState rules;
  OpponentState opponent;
  UiState ui;
  DebugState debug;
  AssistState assist;
  Random rng;
  TForm1 form;
};
