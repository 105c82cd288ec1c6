#pragma once
// A VFS that passes everything to the default one and counts the syncs
// (xSync of any file: database, log, journal) and the time spent in them.
// install() makes it the process's default, so every connection opened
// afterwards goes through it. Counters are process-wide and atomic.
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace kq::bench {

class SyncCountingVfs {
 public:
  static std::atomic<int64_t>& syncs() {
    static std::atomic<int64_t> n{0};
    return n;
  }
  static std::atomic<int64_t>& sync_ns() {
    static std::atomic<int64_t> n{0};
    return n;
  }

  // When each sync ended, for telling which statement paid for it.
  static std::vector<std::chrono::steady_clock::time_point> sync_times() {
    std::lock_guard lock(times_mutex());
    return times();
  }

  static void install() {
    static bool done = false;
    if (done) return;
    done = true;
    base() = sqlite3_vfs_find(nullptr);
    static sqlite3_vfs vfs = *base();
    vfs.zName = "kq_sync_counting";
    vfs.szOsFile = static_cast<int>(sizeof(File)) + base()->szOsFile;
    vfs.xOpen = &open;
    sqlite3_vfs_register(&vfs, 1);
  }

 private:
  struct File {
    sqlite3_file base;          // our methods
    sqlite3_file* real;         // the default VFS's file, right behind this struct
  };

  static std::mutex& times_mutex() {
    static std::mutex m;
    return m;
  }
  static std::vector<std::chrono::steady_clock::time_point>& times() {
    static std::vector<std::chrono::steady_clock::time_point> t;
    return t;
  }

  static sqlite3_vfs*& base() {
    static sqlite3_vfs* b = nullptr;
    return b;
  }
  static sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

  static int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags) {
    auto* f = reinterpret_cast<File*>(file);
    f->real = reinterpret_cast<sqlite3_file*>(f + 1);
    int rc = base()->xOpen(base(), name, f->real, flags, out_flags);
    if (f->real->pMethods == nullptr) {
      f->base.pMethods = nullptr;
      return rc;
    }
    static sqlite3_io_methods methods = [] {
      sqlite3_io_methods m{};
      return m;
    }();
    static bool filled = false;
    if (!filled) {
      filled = true;
      methods = *f->real->pMethods;
      methods.xClose = [](sqlite3_file* x) { return real(x)->pMethods->xClose(real(x)); };
      methods.xRead = [](sqlite3_file* x, void* b, int n, sqlite3_int64 o) { return real(x)->pMethods->xRead(real(x), b, n, o); };
      methods.xWrite = [](sqlite3_file* x, const void* b, int n, sqlite3_int64 o) {
        return real(x)->pMethods->xWrite(real(x), b, n, o);
      };
      methods.xTruncate = [](sqlite3_file* x, sqlite3_int64 n) { return real(x)->pMethods->xTruncate(real(x), n); };
      methods.xSync = [](sqlite3_file* x, int flags) {
        const auto t0 = std::chrono::steady_clock::now();
        int rc = real(x)->pMethods->xSync(real(x), flags);
        const auto t1 = std::chrono::steady_clock::now();
        sync_ns() += std::chrono::duration_cast<std::chrono::nanoseconds>(t1 - t0).count();
        ++syncs();
        std::lock_guard lock(times_mutex());
        times().push_back(t1);
        return rc;
      };
      methods.xFileSize = [](sqlite3_file* x, sqlite3_int64* n) { return real(x)->pMethods->xFileSize(real(x), n); };
      methods.xLock = [](sqlite3_file* x, int l) { return real(x)->pMethods->xLock(real(x), l); };
      methods.xUnlock = [](sqlite3_file* x, int l) { return real(x)->pMethods->xUnlock(real(x), l); };
      methods.xCheckReservedLock = [](sqlite3_file* x, int* r) { return real(x)->pMethods->xCheckReservedLock(real(x), r); };
      methods.xFileControl = [](sqlite3_file* x, int op, void* a) { return real(x)->pMethods->xFileControl(real(x), op, a); };
      methods.xSectorSize = [](sqlite3_file* x) { return real(x)->pMethods->xSectorSize(real(x)); };
      methods.xDeviceCharacteristics = [](sqlite3_file* x) { return real(x)->pMethods->xDeviceCharacteristics(real(x)); };
      methods.xShmMap = [](sqlite3_file* x, int pg, int sz, int e, void volatile** p) {
        return real(x)->pMethods->xShmMap(real(x), pg, sz, e, p);
      };
      methods.xShmLock = [](sqlite3_file* x, int o, int n, int fl) { return real(x)->pMethods->xShmLock(real(x), o, n, fl); };
      methods.xShmBarrier = [](sqlite3_file* x) { real(x)->pMethods->xShmBarrier(real(x)); };
      methods.xShmUnmap = [](sqlite3_file* x, int d) { return real(x)->pMethods->xShmUnmap(real(x), d); };
      methods.xFetch = [](sqlite3_file* x, sqlite3_int64 o, int n, void** p) { return real(x)->pMethods->xFetch(real(x), o, n, p); };
      methods.xUnfetch = [](sqlite3_file* x, sqlite3_int64 o, void* p) { return real(x)->pMethods->xUnfetch(real(x), o, p); };
    }
    f->base.pMethods = &methods;
    return rc;
  }
};

}  // namespace kq::bench
