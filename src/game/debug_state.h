#pragma once

// The hidden debug listing ListBox1. Filled in by the debug listing.
struct DebugState {};
