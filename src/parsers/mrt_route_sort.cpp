#include "parsers/mrt_route_sort.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "io/temporary_files.h"

namespace {

const std::size_t kWriteBuffer = 1u << 20;
const std::size_t kSmallestWindow = 4u << 10;
const std::size_t kLargestWindow = 64u << 10;

template <class T>
void put(std::vector<std::uint8_t>& out, T value) {
  const std::size_t at = out.size();
  out.resize(at + sizeof value);
  std::memcpy(out.data() + at, &value, sizeof value);
}

template <class T>
T get(const std::uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// A prefix on disk, ahead of its path length and path.
template <class Prefix>
constexpr std::size_t kPrefixBytes = 8 + 4 + 1;
template <>
constexpr std::size_t kPrefixBytes<IPv6Prefix> = 8 + 8 + 1;

void putPrefix(std::vector<std::uint8_t>& out, const MrtIPv4Prefix& prefix) {
  put(out, prefix.key);
  put(out, prefix.address);
  put(out, prefix.length);
}
void putPrefix(std::vector<std::uint8_t>& out, const IPv6Prefix& prefix) {
  put(out, prefix.high);
  put(out, prefix.low);
  put(out, prefix.length);
}
void getPrefix(const std::uint8_t* bytes, MrtIPv4Prefix& prefix) {
  prefix.key = get<std::uint64_t>(bytes);
  prefix.address = get<std::uint32_t>(bytes + 8);
  prefix.length = bytes[12];
}
void getPrefix(const std::uint8_t* bytes, IPv6Prefix& prefix) {
  prefix.high = get<std::uint64_t>(bytes);
  prefix.low = get<std::uint64_t>(bytes + 8);
  prefix.length = bytes[16];
}

}  // namespace

template <class Prefix>
MrtRouteSortOf<Prefix>::MrtRouteSortOf(std::size_t memoryBound) : memoryBound_(memoryBound) {}

template <class Prefix>
MrtRouteSortOf<Prefix>::~MrtRouteSortOf() {
  if (fd_ >= 0) close(fd_);
}

template <class Prefix>
std::size_t MrtRouteSortOf<Prefix>::heldBytes() const {
  return held_.size() * sizeof(Held) + arena_.size() * sizeof(ASNumber);
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::add(const Prefix& prefix, const ASNumber* path,
                                 std::size_t pathLength) {
  if (!held_.empty() && heldBytes() >= memoryBound_ && !spill()) return false;
  Held held;
  held.prefix = prefix;
  held.sequence = static_cast<std::uint32_t>(held_.size());
  held.pathStart = static_cast<std::uint32_t>(arena_.size());
  held.pathLength = static_cast<std::uint32_t>(pathLength);
  arena_.insert(arena_.end(), path, path + pathLength);
  held_.push_back(held);
  return true;
}

template <class Prefix>
void MrtRouteSortOf<Prefix>::sortHeld() {
  std::sort(held_.begin(), held_.end(), [](const Held& a, const Held& b) {
    return a.prefix.before(b.prefix) || (!b.prefix.before(a.prefix) && a.sequence < b.sequence);
  });
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::fail(const char* what, int error) {
  reason_ = std::string(what) + ": " + std::strerror(error);
  return false;
}

// Writes the held routes, sorted, as one run at the end of the temporary file.
template <class Prefix>
bool MrtRouteSortOf<Prefix>::spill() {
  if (fd_ < 0) {
    fd_ = temporary_files::openUnnamed(reason_);
    if (fd_ < 0) return false;
  }
  sortHeld();
  Run run;
  run.position = fileEnd_;
  writeBuffer_.clear();
  for (std::size_t k = 0; k <= held_.size(); ++k) {
    if (k == held_.size() || writeBuffer_.size() >= kWriteBuffer) {
      std::size_t done = 0;
      while (done < writeBuffer_.size()) {
        const ssize_t wrote = pwrite(fd_, writeBuffer_.data() + done, writeBuffer_.size() - done,
                                     static_cast<off_t>(fileEnd_));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
          return fail("cannot write a temporary file", wrote < 0 ? errno : ENOSPC);
        }
        done += static_cast<std::size_t>(wrote);
        fileEnd_ += static_cast<std::uint64_t>(wrote);
      }
      writeBuffer_.clear();
      if (k == held_.size()) break;
    }
    const Held& held = held_[k];
    putPrefix(writeBuffer_, held.prefix);
    put(writeBuffer_, held.pathLength);
    const std::size_t at = writeBuffer_.size();
    writeBuffer_.resize(at + held.pathLength * sizeof(ASNumber));
    // An empty path may have no storage at all: memcpy must not see its null pointer.
    if (held.pathLength != 0) {
      std::memcpy(writeBuffer_.data() + at, arena_.data() + held.pathStart,
                  held.pathLength * sizeof(ASNumber));
    }
  }
  run.end = fileEnd_;
  runs_.push_back(std::move(run));
  ++runsWritten_;
  held_.clear();
  arena_.clear();
  return true;
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::finish() {
  nextHeld_ = 0;
  if (runs_.empty()) {
    sortHeld();
    return true;
  }
  if (!held_.empty() && !spill()) return false;
  // The memory of the adding goes back before the merge takes its windows.
  std::vector<Held>().swap(held_);
  std::vector<ASNumber>().swap(arena_);
  std::vector<std::uint8_t>().swap(writeBuffer_);
  return startMerge();
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::startMerge() {
  merging_ = true;
  std::size_t window = memoryBound_ / (runs_.size() + 1);
  window = std::max(kSmallestWindow, std::min(kLargestWindow, window));
  heap_.clear();
  for (std::size_t k = 0; k < runs_.size(); ++k) {
    runs_[k].window.resize(window);
    if (loadRoute(runs_[k])) heap_.push_back(k);
    if (failed()) return false;
  }
  for (std::size_t k = heap_.size() / 2; k-- > 0;) siftDown(k);
  deliveredPending_ = false;
  return true;
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::fillWindow(Run& run, std::size_t need) {
  if (run.filled - run.begin >= need) return true;
  std::memmove(run.window.data(), run.window.data() + run.begin, run.filled - run.begin);
  run.filled -= run.begin;
  run.begin = 0;
  if (run.window.size() < need) run.window.resize(need);
  while (run.filled < need) {
    const std::uint64_t left = run.end - run.position;
    std::size_t want = run.window.size() - run.filled;
    if (want > left) want = static_cast<std::size_t>(left);
    if (want == 0) return fail("cannot read a temporary file", EIO);
    const ssize_t got =
        pread(fd_, run.window.data() + run.filled, want, static_cast<off_t>(run.position));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return fail("cannot read a temporary file", got < 0 ? errno : EIO);
    run.filled += static_cast<std::size_t>(got);
    run.position += static_cast<std::uint64_t>(got);
  }
  return true;
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::loadRoute(Run& run) {
  if (run.begin == run.filled && run.position == run.end) return false;
  const std::size_t header = kPrefixBytes<Prefix> + 4;
  if (!fillWindow(run, header)) return false;
  getPrefix(run.window.data() + run.begin, run.prefix);
  const std::uint32_t pathLength =
      get<std::uint32_t>(run.window.data() + run.begin + kPrefixBytes<Prefix>);
  return fillWindow(run, header + std::size_t{pathLength} * sizeof(ASNumber));
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::before(std::size_t a, std::size_t b) const {
  // Runs were written in the order of adding, so the earlier run wins a tie.
  const Prefix& first = runs_[a].prefix;
  const Prefix& second = runs_[b].prefix;
  return first.before(second) || (!second.before(first) && a < b);
}

template <class Prefix>
void MrtRouteSortOf<Prefix>::siftDown(std::size_t at) {
  for (;;) {
    std::size_t smallest = at;
    const std::size_t left = 2 * at + 1, right = left + 1;
    if (left < heap_.size() && before(heap_[left], heap_[smallest])) smallest = left;
    if (right < heap_.size() && before(heap_[right], heap_[smallest])) smallest = right;
    if (smallest == at) return;
    std::swap(heap_[at], heap_[smallest]);
    at = smallest;
  }
}

template <class Prefix>
bool MrtRouteSortOf<Prefix>::next(Route& route) {
  if (!merging_) {
    if (nextHeld_ >= held_.size()) return false;
    const Held& held = held_[nextHeld_++];
    route.prefix = held.prefix;
    route.path = arena_.data() + held.pathStart;
    route.pathLength = held.pathLength;
    return true;
  }
  if (deliveredPending_) {
    // The route handed out last is passed over only now: its path lay in the window.
    deliveredPending_ = false;
    Run& run = runs_[heap_[0]];
    const std::uint32_t pathLength =
        get<std::uint32_t>(run.window.data() + run.begin + kPrefixBytes<Prefix>);
    run.begin += kPrefixBytes<Prefix> + 4 + std::size_t{pathLength} * sizeof(ASNumber);
    if (!loadRoute(run)) {
      if (failed()) return false;
      heap_[0] = heap_.back();
      heap_.pop_back();
    }
    if (!heap_.empty()) siftDown(0);
  }
  if (heap_.empty()) return false;
  const Run& run = runs_[heap_[0]];
  const std::uint8_t* bytes = run.window.data() + run.begin;
  route.prefix = run.prefix;
  route.pathLength = get<std::uint32_t>(bytes + kPrefixBytes<Prefix>);
  path_.resize(route.pathLength);
  if (route.pathLength > 0) {
    std::memcpy(path_.data(), bytes + kPrefixBytes<Prefix> + 4,
                route.pathLength * sizeof(ASNumber));
  }
  route.path = path_.data();
  deliveredPending_ = true;
  return true;
}

template <class Prefix>
void MrtRouteSortOf<Prefix>::clear() {
  held_.clear();
  arena_.clear();
  nextHeld_ = 0;
  merging_ = false;
  runs_.clear();
  heap_.clear();
  deliveredPending_ = false;
  fileEnd_ = 0;
}

template class MrtRouteSortOf<MrtIPv4Prefix>;
template class MrtRouteSortOf<IPv6Prefix>;
