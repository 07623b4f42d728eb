#pragma once
// The log of the network layers: one line per dropped frame, refused record
// or lost peer, written to standard error. A line is written whole even when
// several threads log at once. Tests install a sink to read the lines.

#include "platform/core/CString.h"

#include <functional>

// printf-style; the line ends without a newline (one is added).
void NetLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the sink (null: standard error again) and answers the previous one.
using NetLogSink = std::function<void(const CString& line)>;
NetLogSink SetNetLogSink(NetLogSink sink);
