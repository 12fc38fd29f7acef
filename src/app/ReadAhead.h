// Reading the next candidates of a search while the current one is tested. Only the reads move to
// the helper threads: every test, callback and result stays on the caller's thread, in walk order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/FileSystem.h"

namespace tesvarin {

// The reads of one candidate: the open, the look at the descriptor, the non-text probe and then as
// much of the file as is wanted. Run again with a higher limit, it goes on where it stopped.
class TCandidateRead {
public:
  TCandidateRead(std::string Path, bool NoFollow, size_t Want, std::string& Buffer)
      : FPath(std::move(Path)), FNoFollow(NoFollow), FWant(Want), FFile(Buffer) {}

  // Reads no further than the probe when the file is larger than Limit bytes.
  void Run(uint64_t Limit);

  [[nodiscard]] const std::string& Path() const { return FPath; }
  [[nodiscard]] bool Opened() const { return FOpened; }
  [[nodiscard]] int ReadError() const { return FReadError; }  // an errno value, 0: read as wanted
  [[nodiscard]] bool NonText() const { return FNonText; }
  // The bytes read: the whole file, or the head when only the probe was wanted.
  [[nodiscard]] std::string_view Bytes() { return FFile.Head(FWant); }
  [[nodiscard]] TCandidateFile& File() { return FFile; }

private:
  std::string FPath;
  bool FNoFollow;
  size_t FWant;
  bool FStarted = false;
  bool FOpened = false;
  bool FNonText = false;
  bool FComplete = false;
  int FReadError = 0;
  TCandidateFile FFile;
};

// A few threads that run candidate reads queued in walk order; the caller takes each one back in
// the same order and finishes it itself if no thread has started it yet.
class TReadAhead {
public:
  // Threads 0: every read runs on the caller's thread when it is taken.
  explicit TReadAhead(unsigned Threads);
  TReadAhead(const TReadAhead&) = delete;
  TReadAhead& operator=(const TReadAhead&) = delete;
  ~TReadAhead();

  // Files up to this size are read whole ahead; of bigger ones only the probe, so that the reads
  // held ahead stay within Depth times this.
  static constexpr uint64_t FileLimit = 4 * 1024 * 1024;
  static constexpr size_t Depth = 16;  // candidates read ahead of the one being tested

  class TJob;
  std::shared_ptr<TJob> Queue(std::string Path, bool NoFollow, size_t Want);
  // Runs the job here if no thread has started it; else reads the Later ones nobody has started
  // while it waits for the job.
  TCandidateRead& Take(TJob& Job, const std::deque<std::shared_ptr<TJob>>& Later);
  // Gives the job's buffer back for the next ones; the job is done with.
  void Release(std::shared_ptr<TJob> Job);

  [[nodiscard]] unsigned Threads() const { return static_cast<unsigned>(FThreads.size()); }

private:
  void Work(const std::stop_token& Stop);

  std::mutex FLock;
  std::condition_variable_any FWake;
  std::deque<std::shared_ptr<TJob>> FQueue;
  std::atomic<size_t> FQueued{0};  // FQueue's length, for the threads to look at without the lock
  int FSleeping = 0;               // threads waiting for FWake
  std::vector<std::string> FSpare;  // buffers of released jobs, kept for their capacity
  std::vector<std::jthread> FThreads;
};

class TReadAhead::TJob {
public:
  TJob(std::string Path, bool NoFollow, size_t Want, std::string Buffer)
      : FBuffer(std::move(Buffer)), Read(std::move(Path), NoFollow, Want, FBuffer) {}

private:
  friend class TReadAhead;
  enum TState : int { jsQueued, jsRunning, jsDone };
  // Claims the job for the calling thread; false when another thread already has.
  bool Claim() {
    int Expected = jsQueued;
    return State.compare_exchange_strong(Expected, jsRunning);
  }
  std::string FBuffer;
  TCandidateRead Read;
  std::atomic<int> State{jsQueued};
};

}  // namespace tesvarin
