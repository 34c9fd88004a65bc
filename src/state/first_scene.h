// The code the scene machine starts in: the title's loading, kSceneTitleLoad of state/scene.h,
// which takes its code from here. It stands apart so that the flow state can start there without
// the scene table, which the rules below the scene machine never see.
#pragma once

#include <cstdint>

inline constexpr int32_t kFirstSceneCode = 0;
