/* Fault injection for the tests: preloaded into the program (LD_PRELOAD) or linked into a fuzzing
 * harness, it counts the calls of each kind on files the program opened (descriptors above 2)
 * and makes chosen ones fail, as a full disk, a failing device or a lack of memory would.
 *
 * ZELGRIN_FAULT="kind:N:WHAT[,kind:N:WHAT...]"   the Nth call of that kind fails ("N+": the Nth
 *                                                and every later one)
 *   kind   write  fprintf, vfprintf, fputs, fputc, putc, fwrite, write
 *          flush  fflush
 *          fsync  fsync, fdatasync
 *          close  fclose, close (the file is closed all the same)
 *          rename rename, renameat
 *          open   fopen, open, openat (any file, read or written)
 *          read   getline, getdelim (which an optimised getline calls), fgets, fread, fgetc,
 *                 getc, read
 *          malloc malloc (any size, any caller; not when linked into a sanitized harness)
 *   WHAT   ENOSPC, EIO, EFBIG, EACCES, ENOMEM: the call fails with that error
 *          SIGTERM, SIGINT, SIGHUP: the signal is raised, then the call goes on
 * ZELGRIN_FAULT_COUNTS=FILE   at exit, "kind count" lines for a dry run
 *
 * The standard library's own buffered writes reach the system inside the library, out of reach
 * of preloading, so the buffered calls themselves are the points that fail. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum kind { kWrite, kFlush, kFsync, kClose, kRename, kOpen, kRead, kMalloc, kKinds };
static const char* const kindNames[kKinds] = {"write",  "flush", "fsync", "close",
                                              "rename", "open",  "read",  "malloc"};

struct fault {
  int kind;
  unsigned long call;
  int onward; /* every call from the Nth on */
  int error;  /* 0 when a signal is raised instead */
  int signal;
};

#define MAX_FAULTS 16
static struct fault faults[MAX_FAULTS];
static int faultCount;
static unsigned long calls[kKinds];
static int configured;

static const struct {
  const char* name;
  int error;
  int signal;
} whats[] = {{"ENOSPC", ENOSPC, 0}, {"EIO", EIO, 0},       {"EFBIG", EFBIG, 0},
             {"EACCES", EACCES, 0}, {"ENOMEM", ENOMEM, 0}, {"SIGTERM", 0, SIGTERM},
             {"SIGINT", 0, SIGINT}, {"SIGHUP", 0, SIGHUP}};

/* Reads a schedule; a malformed entry ends it. Counting starts again from zero. */
void zelgrinFaultSchedule(const char* text) {
  faultCount = 0;
  memset(calls, 0, sizeof calls);
  configured = 1;
  while (text != NULL && *text != '\0' && faultCount < MAX_FAULTS) {
    struct fault f;
    memset(&f, 0, sizeof f);
    const char* colon = strchr(text, ':');
    if (colon == NULL) return;
    f.kind = -1;
    for (int k = 0; k < kKinds; ++k) {
      if (strlen(kindNames[k]) == (size_t)(colon - text) &&
          strncmp(text, kindNames[k], (size_t)(colon - text)) == 0) {
        f.kind = k;
      }
    }
    char* end;
    f.call = strtoul(colon + 1, &end, 10);
    if (f.kind < 0 || f.call == 0) return;
    if (*end == '+') {
      f.onward = 1;
      ++end;
    }
    if (*end != ':') return;
    const char* what = end + 1;
    size_t length = strcspn(what, ",");
    int found = 0;
    for (size_t w = 0; w < sizeof whats / sizeof whats[0]; ++w) {
      if (strlen(whats[w].name) == length && strncmp(what, whats[w].name, length) == 0) {
        f.error = whats[w].error;
        f.signal = whats[w].signal;
        found = 1;
      }
    }
    if (!found) return;
    faults[faultCount++] = f;
    text = what[length] == ',' ? what + length + 1 : what + length;
  }
}

/* Counts one call of `kind` and tells whether it must fail (errno set) or go on. A scheduled
 * signal is raised here and the call goes on. */
static int failCall(int kind) {
  if (!configured) zelgrinFaultSchedule(getenv("ZELGRIN_FAULT"));
  unsigned long call = ++calls[kind];
  for (int k = 0; k < faultCount; ++k) {
    const struct fault* f = &faults[k];
    if (f->kind != kind || (f->onward ? call < f->call : call != f->call)) continue;
    if (f->signal != 0) {
      raise(f->signal);
      return 0;
    }
    errno = f->error;
    return 1;
  }
  return 0;
}

static int ownFile(FILE* stream) { return stream != NULL && fileno(stream) > 2; }
static int ownDescriptor(int fd) { return fd > 2; }

/* Declares real_NAME, the library's own NAME, looked up once. */
#define REAL(name)                      \
  static __typeof__(&name) real_##name; \
  if (real_##name == NULL) *(void**)(&real_##name) = dlsym(RTLD_NEXT, #name)

static void writeNumber(int fd, unsigned long value) {
  char digits[24];
  int n = 0;
  do {
    digits[sizeof digits - 1 - n++] = (char)('0' + value % 10);
    value /= 10;
  } while (value != 0);
  REAL(write);
  ssize_t ignored = real_write(fd, digits + sizeof digits - n, (size_t)n);
  (void)ignored;
}

__attribute__((destructor)) static void writeCounts(void) {
  const char* path = getenv("ZELGRIN_FAULT_COUNTS");
  if (path == NULL) return;
  REAL(open);
  REAL(write);
  REAL(close);
  int fd = real_open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  for (int k = 0; k < kKinds; ++k) {
    ssize_t ignored = real_write(fd, kindNames[k], strlen(kindNames[k]));
    ignored = real_write(fd, " ", 1);
    writeNumber(fd, calls[k]);
    ignored = real_write(fd, "\n", 1);
    (void)ignored;
  }
  real_close(fd);
}

/* Writes ---------------------------------------------------------------------------------- */

int vfprintf(FILE* stream, const char* format, va_list args) {
  if (ownFile(stream) && failCall(kWrite)) return -1;
  REAL(vfprintf);
  return real_vfprintf(stream, format, args);
}

int fprintf(FILE* stream, const char* format, ...) {
  if (ownFile(stream) && failCall(kWrite)) return -1;
  va_list args;
  va_start(args, format);
  REAL(vfprintf);
  int result = real_vfprintf(stream, format, args);
  va_end(args);
  return result;
}

int __fprintf_chk(FILE* stream, int flag, const char* format, ...) {
  if (ownFile(stream) && failCall(kWrite)) return -1;
  va_list args;
  va_start(args, format);
  static int (*real)(FILE*, int, const char*, va_list);
  if (real == NULL) *(void**)(&real) = dlsym(RTLD_NEXT, "__vfprintf_chk");
  int result = real(stream, flag, format, args);
  va_end(args);
  return result;
}

int fputs(const char* text, FILE* stream) {
  if (ownFile(stream) && failCall(kWrite)) return EOF;
  REAL(fputs);
  return real_fputs(text, stream);
}

int fputc(int c, FILE* stream) {
  if (ownFile(stream) && failCall(kWrite)) return EOF;
  REAL(fputc);
  return real_fputc(c, stream);
}

int putc(int c, FILE* stream) {
  if (ownFile(stream) && failCall(kWrite)) return EOF;
  REAL(putc);
  return real_putc(c, stream);
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
  if (ownFile(stream) && failCall(kWrite)) return 0;
  REAL(fwrite);
  return real_fwrite(data, size, count, stream);
}

size_t fwrite_unlocked(const void* data, size_t size, size_t count, FILE* stream) {
  if (ownFile(stream) && failCall(kWrite)) return 0;
  REAL(fwrite_unlocked);
  return real_fwrite_unlocked(data, size, count, stream);
}

ssize_t write(int fd, const void* data, size_t size) {
  if (ownDescriptor(fd) && failCall(kWrite)) return -1;
  REAL(write);
  return real_write(fd, data, size);
}

int fflush(FILE* stream) {
  if (ownFile(stream) && failCall(kFlush)) return EOF;
  REAL(fflush);
  return real_fflush(stream);
}

int fsync(int fd) {
  if (ownDescriptor(fd) && failCall(kFsync)) return -1;
  REAL(fsync);
  return real_fsync(fd);
}

int fdatasync(int fd) {
  if (ownDescriptor(fd) && failCall(kFsync)) return -1;
  REAL(fdatasync);
  return real_fdatasync(fd);
}

/* A failing close still closes, as the system's does. */
int fclose(FILE* stream) {
  int fail = ownFile(stream) && failCall(kClose);
  int saved = errno;
  REAL(fclose);
  int result = real_fclose(stream);
  if (!fail) return result;
  errno = saved;
  return EOF;
}

int close(int fd) {
  int fail = ownDescriptor(fd) && failCall(kClose);
  int saved = errno;
  REAL(close);
  int result = real_close(fd);
  if (!fail) return result;
  errno = saved;
  return -1;
}

int rename(const char* from, const char* to) {
  if (failCall(kRename)) return -1;
  REAL(rename);
  return real_rename(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  if (failCall(kRename)) return -1;
  REAL(renameat);
  return real_renameat(fromDir, from, toDir, to);
}

/* Opens ----------------------------------------------------------------------------------- */

FILE* fopen(const char* path, const char* mode) {
  if (failCall(kOpen)) return NULL;
  REAL(fopen);
  return real_fopen(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  if (failCall(kOpen)) return NULL;
  REAL(fopen64);
  return real_fopen64(path, mode);
}

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
  va_end(args);
  if (failCall(kOpen)) return -1;
  REAL(open);
  return real_open(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
  va_end(args);
  if (failCall(kOpen)) return -1;
  REAL(open64);
  return real_open64(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
  va_end(args);
  if (failCall(kOpen)) return -1;
  REAL(openat);
  return real_openat(dir, path, flags, mode);
}

/* Reads ----------------------------------------------------------------------------------- */

ssize_t getdelim(char** line, size_t* capacity, int delimiter, FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return -1;
  REAL(getdelim);
  return real_getdelim(line, capacity, delimiter, stream);
}

ssize_t __getdelim(char** line, size_t* capacity, int delimiter, FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return -1;
  REAL(__getdelim);
  return real___getdelim(line, capacity, delimiter, stream);
}

ssize_t getline(char** line, size_t* capacity, FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return -1;
  REAL(getline);
  return real_getline(line, capacity, stream);
}

char* fgets(char* text, int size, FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return NULL;
  REAL(fgets);
  return real_fgets(text, size, stream);
}

size_t fread(void* data, size_t size, size_t count, FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return 0;
  REAL(fread);
  return real_fread(data, size, count, stream);
}

int fgetc(FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return EOF;
  REAL(fgetc);
  return real_fgetc(stream);
}

int getc(FILE* stream) {
  if (ownFile(stream) && failCall(kRead)) return EOF;
  REAL(getc);
  return real_getc(stream);
}

ssize_t read(int fd, void* data, size_t size) {
  if (ownDescriptor(fd) && failCall(kRead)) return -1;
  REAL(read);
  return real_read(fd, data, size);
}

/* Memory ---------------------------------------------------------------------------------- */

#ifndef ZELGRIN_FAULT_NO_MALLOC
extern void* __libc_malloc(size_t size);

void* malloc(size_t size) {
  if (failCall(kMalloc)) return NULL;
  return __libc_malloc(size);
}
#endif
