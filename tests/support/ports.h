// Loopback ports for tests and benchmarks: one nobody listens on, a socket listening on a
// fresh one, and waiting for a server (a thread or a child process) to start listening.
#pragma once

#include <chrono>

namespace brenvik::testing {

// A socket bound to 127.0.0.1 on an ephemeral port and listening (close-on-exec); the port
// goes to `*port`. Throws std::runtime_error when the system refuses.
int ListenOnLoopback(int* port, int backlog = 16);
// A loopback port nobody listened on a moment ago: connecting to it is refused.
int UnusedLoopbackPort();
// Whether a connection to 127.0.0.1:<port> is accepted right now.
bool AcceptsConnections(int port);
// Tries to connect every 10 ms until it works (true) or `limit` passes (false).
bool WaitUntilListening(int port, std::chrono::milliseconds limit = std::chrono::seconds(5));

}  // namespace brenvik::testing
