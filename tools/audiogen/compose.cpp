#include "audiogen/compose.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <string>

namespace audiogen {

namespace {

std::invalid_argument bad(std::string_view what, std::string_view text) {
  return std::invalid_argument(std::string(what) + ": \"" + std::string(text) + "\"");
}

int letter_class(char c) {
  switch (c) {
    case 'C':
      return 0;
    case 'D':
      return 2;
    case 'E':
      return 4;
    case 'F':
      return 5;
    case 'G':
      return 7;
    case 'A':
      return 9;
    case 'B':
      return 11;
    default:
      return -1;
  }
}

// Reads a letter and its accidentals from the front of text; returns the pitch class and
// removes what it read.
int take_pitch_class(std::string_view& text, std::string_view whole) {
  if (text.empty() || letter_class(text[0]) < 0) throw bad("no note letter", whole);
  int pc = letter_class(text[0]);
  size_t i = 1;
  for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i) pc += text[i] == '#' ? 1 : -1;
  text.remove_prefix(i);
  return ((pc % 12) + 12) % 12;
}

double parse_beats(std::string_view text, std::string_view whole) {
  const size_t slash = text.find('/');
  try {
    if (slash == std::string_view::npos) {
      size_t used = 0;
      const double v = std::stod(std::string(text), &used);
      if (used != text.size() || !(v > 0.0)) throw bad("bad length", whole);
      return v;
    }
    const double num = std::stod(std::string(text.substr(0, slash)));
    const double den = std::stod(std::string(text.substr(slash + 1)));
    if (!(num > 0.0) || !(den > 0.0)) throw bad("bad length", whole);
    return num / den;
  } catch (const std::logic_error&) {
    throw bad("bad length", whole);
  }
}

// Tokens are separated by spaces; a bar line is a token of its own even when written
// against its neighbours.
std::vector<std::string_view> split(std::string_view text) {
  std::vector<std::string_view> tokens;
  auto separator = [](char ch) {
    return std::isspace(static_cast<unsigned char>(ch)) || ch == '|';
  };
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '|') {
      tokens.push_back(text.substr(i, 1));
      ++i;
      continue;
    }
    if (separator(text[i])) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < text.size() && !separator(text[j])) ++j;
    tokens.push_back(text.substr(i, j - i));
    i = j;
  }
  return tokens;
}

}  // namespace

int parse_pitch(std::string_view text) {
  if (text.empty() || letter_class(text[0]) < 0) throw bad("no note letter", text);
  int pitch = letter_class(text[0]);
  size_t i = 1;
  for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i)
    pitch += text[i] == '#' ? 1 : -1;
  const std::string_view octave = text.substr(i);
  if (octave.size() != 1 || !std::isdigit(static_cast<unsigned char>(octave[0]))) {
    throw bad("no octave", text);
  }
  return 12 * (octave[0] - '0' + 1) + pitch;
}

int Chord::tone(int index, int low) const {
  const int count = static_cast<int>(intervals.size());
  const int octave = index / count;
  const int pc = (root + intervals[static_cast<size_t>(index % count)]) % 12;
  int pitch = low + ((pc - low) % 12 + 12) % 12;
  return pitch + 12 * octave;
}

int Chord::bass_pitch(int low) const {
  return low + ((bass - low) % 12 + 12) % 12;
}

std::vector<int> Chord::voicing(int low, int voices) const {
  std::vector<int> tones;
  for (int i = 0; i < static_cast<int>(intervals.size()); ++i) tones.push_back(tone(i, low));
  std::sort(tones.begin(), tones.end());
  std::vector<int> out;
  for (int i = 0; i < voices; ++i) {
    const size_t k = static_cast<size_t>(i) % tones.size();
    out.push_back(tones[k] + 12 * (i / static_cast<int>(tones.size())));
  }
  return out;
}

Chord parse_chord(std::string_view text) {
  std::string_view rest = text;
  Chord c;
  c.root = take_pitch_class(rest, text);
  c.bass = c.root;
  const size_t slash = rest.find('/');
  if (slash != std::string_view::npos) {
    std::string_view bass = rest.substr(slash + 1);
    c.bass = take_pitch_class(bass, text);
    if (!bass.empty()) throw bad("bad bass note", text);
    rest = rest.substr(0, slash);
  }
  struct Quality {
    std::string_view name;
    std::vector<int> intervals;
  };
  static const Quality kQualities[] = {
      {"", {0, 4, 7}},         {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
      {"maj7", {0, 4, 7, 11}}, {"sus4", {0, 5, 7}},     {"sus2", {0, 2, 7}},  {"dim", {0, 3, 6}},
      {"aug", {0, 4, 8}},      {"add9", {0, 4, 7, 14}}, {"6", {0, 4, 7, 9}},  {"m6", {0, 3, 7, 9}},
  };
  for (const Quality& q : kQualities) {
    if (rest == q.name) {
      c.intervals = q.intervals;
      return c;
    }
  }
  throw bad("unknown chord", text);
}

void Composer::check_bar(double beat, std::string_view where) const {
  const double in_bar = std::fmod(beat, static_cast<double>(score_.beats_per_bar));
  const double off = std::min(in_bar, score_.beats_per_bar - in_bar);
  if (std::fabs(off) > 1e-6)
    throw bad("bar line off by " + std::to_string(in_bar) + " beats", where);
}

void Composer::note(double beat, double beats, int pitch, float velocity, Voice voice, float pan) {
  // A little unevenness keeps repeated notes from sounding stamped.
  const float jitter = 1.0f + 0.06f * rnd_.next();
  score_.notes.push_back(
      Note{beat, beats, pitch, std::clamp(velocity * jitter, 0.0f, 1.0f), voice, pan});
}

double Composer::line(double beat, std::string_view text, Voice voice, float velocity, float pan,
                      int transpose) {
  for (std::string_view token : split(text)) {
    if (token == "|") {
      check_bar(beat, text);
      continue;
    }
    const size_t colon = token.find(':');
    if (colon == std::string_view::npos) throw bad("no length", token);
    std::string_view pitches = token.substr(0, colon);
    std::string_view length = token.substr(colon + 1);
    float vel = velocity;
    double legato = 0.9;
    while (!length.empty() &&
           std::string_view("^'_~").find(length.back()) != std::string_view::npos) {
      switch (length.back()) {
        case '^':
          vel = std::min(1.0f, vel * 1.25f);
          break;
        case '\'':
          legato = 0.45;
          break;
        case '_':
          legato = 1.0;
          break;
        case '~':
          legato = 1.05;
          break;
      }
      length.remove_suffix(1);
    }
    const double beats = parse_beats(length, token);
    if (pitches != "r") {
      size_t start = 0;
      while (start <= pitches.size()) {
        const size_t plus = std::min(pitches.find('+', start), pitches.size());
        note(beat, beats * legato, parse_pitch(pitches.substr(start, plus - start)) + transpose,
             vel, voice, pan);
        start = plus + 1;
      }
    }
    beat += beats;
  }
  return beat;
}

double Composer::drums(double beat, std::string_view steps, double step_beats, Voice voice,
                       float velocity, float pan, int pitch) {
  for (char c : steps) {
    switch (c) {
      case ' ':
        continue;
      case '|':
        check_bar(beat, steps);
        continue;
      case 'X':
        note(beat, step_beats, pitch, std::min(1.0f, velocity * 1.3f), voice, pan);
        break;
      case 'x':
        note(beat, step_beats, pitch, velocity, voice, pan);
        break;
      case 'o':
        note(beat, step_beats, pitch, velocity * 0.45f, voice, pan);
        break;
      case 'f':
        // The grace stroke lands about 25 ms ahead of the main one.
        note(beat - 0.025 * score_.tempo_bpm / 60.0, step_beats, pitch, velocity * 0.5f, voice,
             pan);
        note(beat, step_beats, pitch, velocity, voice, pan);
        break;
      case '.':
        break;
      default:
        throw bad("unknown drum step", steps);
    }
    beat += step_beats;
  }
  return beat;
}

double Composer::chords(double beat, std::string_view text, const ChordFn& each) {
  for (std::string_view token : split(text)) {
    if (token == "|") {
      check_bar(beat, text);
      continue;
    }
    const size_t colon = token.find(':');
    if (colon == std::string_view::npos) throw bad("no length", token);
    const double beats = parse_beats(token.substr(colon + 1), token);
    each(parse_chord(token.substr(0, colon)), beat, beats);
    beat += beats;
  }
  return beat;
}

}  // namespace audiogen
