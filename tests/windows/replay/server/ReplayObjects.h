#pragma once

// The objects the replay server hands out: each an IDispatch with the id and type the
// recording gave it, whose calls all go to the one Replay of the process; and the type
// information a sheet tells its kind by.

#include <oaidl.h>

#include <string>

namespace kelvor::test::replay {

class Replay;

// A new object with one reference, for the caller to hand out.
IDispatch* makeReplayObject(Replay& replay, int id, std::wstring type);
// The id of one of ours, or 0 for anyone else's.
int replayObjectId(IUnknown* object);

} // namespace kelvor::test::replay
