#include "kill_at_io.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>

// A file system shim under the engine that counts the operations which change a file (write,
// sync, truncate, delete) and kills this process just before the one whose number it was
// given. A crash at every such moment in turn is what a test of "nothing confirmed is lost"
// needs, without a timer deciding where the kill lands.
namespace {

sqlite3_vfs* real = nullptr;
sqlite3_vfs shim;
long killAt = 0;
long changes = 0;

void beforeChange() {
    if (++changes == killAt)
        std::raise(SIGKILL);
}

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* inner;
};

sqlite3_file* innerOf(sqlite3_file* f) {
    return reinterpret_cast<ShimFile*>(f)->inner;
}

int shimClose(sqlite3_file* f) {
    sqlite3_file* inner = innerOf(f);
    return inner->pMethods ? inner->pMethods->xClose(inner) : SQLITE_OK;
}
int shimRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    return innerOf(f)->pMethods->xRead(innerOf(f), buffer, amount, offset);
}
int shimWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    beforeChange();
    return innerOf(f)->pMethods->xWrite(innerOf(f), buffer, amount, offset);
}
int shimTruncate(sqlite3_file* f, sqlite3_int64 size) {
    beforeChange();
    return innerOf(f)->pMethods->xTruncate(innerOf(f), size);
}
int shimSync(sqlite3_file* f, int flags) {
    beforeChange();
    return innerOf(f)->pMethods->xSync(innerOf(f), flags);
}
int shimFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return innerOf(f)->pMethods->xFileSize(innerOf(f), size);
}
int shimLock(sqlite3_file* f, int level) {
    return innerOf(f)->pMethods->xLock(innerOf(f), level);
}
int shimUnlock(sqlite3_file* f, int level) {
    return innerOf(f)->pMethods->xUnlock(innerOf(f), level);
}
int shimCheckReservedLock(sqlite3_file* f, int* out) {
    return innerOf(f)->pMethods->xCheckReservedLock(innerOf(f), out);
}
int shimFileControl(sqlite3_file* f, int op, void* arg) {
    return innerOf(f)->pMethods->xFileControl(innerOf(f), op, arg);
}
int shimSectorSize(sqlite3_file* f) {
    return innerOf(f)->pMethods->xSectorSize(innerOf(f));
}
int shimDeviceCharacteristics(sqlite3_file* f) {
    return innerOf(f)->pMethods->xDeviceCharacteristics(innerOf(f));
}

// Only the methods of the first version: the collection keeps a rollback journal, and without
// shared-memory methods the engine never offers the write-ahead log on these files.
const sqlite3_io_methods shimMethods = {
    1,
    shimClose,
    shimRead,
    shimWrite,
    shimTruncate,
    shimSync,
    shimFileSize,
    shimLock,
    shimUnlock,
    shimCheckReservedLock,
    shimFileControl,
    shimSectorSize,
    shimDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int shimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<ShimFile*>(f);
    file->inner = reinterpret_cast<sqlite3_file*>(file + 1);
    file->base.pMethods = nullptr;
    const int rc = real->xOpen(real, name, file->inner, flags, outFlags);
    if (file->inner->pMethods)
        file->base.pMethods = &shimMethods;
    return rc;
}

int shimDelete(sqlite3_vfs*, const char* name, int syncDir) {
    beforeChange();
    return real->xDelete(real, name, syncDir);
}

} // namespace

void installKillAtIo() {
    const char* at = std::getenv("PERLINEX_KILL_AT_IO");
    if (!at || std::atol(at) <= 0)
        return;
    killAt = std::atol(at);
    real = sqlite3_vfs_find(nullptr);
    shim = *real;
    shim.zName = "perlinex-kill-at-io";
    shim.szOsFile = int(sizeof(ShimFile)) + real->szOsFile;
    shim.xOpen = shimOpen;
    shim.xDelete = shimDelete;
    sqlite3_vfs_register(&shim, 1);
}
