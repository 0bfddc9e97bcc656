#pragma once

#include <QString>

// Makes the calling thread as punctual as the system allows: the smallest timer slack, and real-time
// scheduling (SCHED_FIFO at a low priority) when the process may have it (RLIMIT_RTPRIO, root), or
// else through rtkit, the desktop's real-time broker. Without either the thread runs as any other.
// Returns what it got, in words, for the link log.
QString PrepareTimingThread();
