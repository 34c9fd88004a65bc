// What a host heard and showed: the tracks and effects started and the message boxes, each
// with the pass it happened in. The headless host keeps it always, the window on request.
#pragma once

#include <string>
#include <vector>

struct AudioRecord {
  long pass = 0;
  std::string kind;  // "music" or "sound"
  int n = 0;
};

struct MessageRecord {
  long pass = 0;
  std::string text;
  std::string caption;
};

struct HostLog {
  std::string caption;  // the main form's caption as last set
  std::vector<AudioRecord> audio;
  std::vector<MessageRecord> messages;
};
