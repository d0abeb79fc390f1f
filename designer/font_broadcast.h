// The fonts the worker thread adds become known to every top-level window through the font-change
// message, sent to all of them. That send waits on each window in turn, other programs' included,
// and a hung one holds it for as long as it hangs; so it is sent only when fonts were added since
// the last time, never as a matter of course.
#pragma once

// Any thread: fonts were added.
void NoteFontsAdded();

// Sends the font-change message to every top-level window if fonts were added since it was last
// sent; otherwise does nothing.
void BroadcastFontChangeIfFontsAdded();
