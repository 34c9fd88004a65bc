// Measurements of rendered sound: levels and how smoothly a loop joins itself.
#pragma once

#include <cstddef>

#include "audiogen/synth.h"

namespace audiogen {

// Largest absolute sample over both channels.
float peak_level(const Pcm& pcm);
// Root mean square over both channels.
float rms_level(const Pcm& pcm);

struct LoopJoint {
  float jump;        // largest step from the last frame to the first, over both channels
  float local_step;  // largest step between neighbouring frames near the joint, not across it
  float edge;        // largest absolute sample of the first and the last frame
};

// Compares the step across the loop joint with the steps within `window` frames on either
// side of it. A seamless loop steps across the joint no more than the music does nearby; a cut
// waveform steps by about its own amplitude.
LoopJoint measure_loop_joint(const Pcm& pcm, size_t window = 64);

// The longest run of frames in which both channels stay below `level`, counted around the loop
// so a run may go on through the joint: where a listener would hear the music drop out.
size_t longest_quiet_run(const Pcm& pcm, float level);

// True when the joint steps no further than the music does around it (with a little slack
// for rounding), so the loop plays through it without a click.
bool seamless(const LoopJoint& joint);

}  // namespace audiogen
