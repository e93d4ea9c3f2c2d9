#pragma once

// With PERLINEX_KILL_AT_IO=N in the environment, puts a shim under the database engine that
// kills this process just before its N-th change to a file (a write, sync, truncate or
// delete). Without it, does nothing.
void installKillAtIo();
