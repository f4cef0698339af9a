#pragma once

// The session kept between runs in the reader's folder (session.txt, see
// Session.h for its lines).

#include <optional>

#include "Session.h"

namespace lorvane {

// The session of the last run; none when there is no file, or when it does
// not read (said on standard error: the program then starts at its first
// chapter).
std::optional<Session> ReadSessionFile();
// Written atomically; a failure is said on standard error.
void WriteSessionFile(const Session& session);

}  // namespace lorvane
