#include "app/ReadAhead.h"

#include "app/ResultRow.h"
#include "support/Exception.h"

namespace tesvarin {

namespace {

// About 50 microseconds of waiting awake before sleeping.
constexpr int SpinRounds = 2000;

void Relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

void TCandidateRead::Run(uint64_t Limit) {
  if (!FStarted) {
    FStarted = true;
    FOpened = FFile.Open(FPath, FNoFollow);
    if (!FOpened) return;
    try {
      // The probe first: a non-text file is never read whole.
      FNonText = IsBinaryProbe(FFile.Head(NonTextProbeSize).substr(0, NonTextProbeSize));
    } catch (const EInOutError& E) {
      FReadError = E.ErrorCode();
    }
  }
  if (!FOpened || FNonText || FReadError != 0 || FComplete || FFile.Info().Size > Limit) return;
  try {
    FFile.Head(FWant);
    FComplete = true;
  } catch (const EInOutError& E) {
    FReadError = E.ErrorCode();
  }
}

TReadAhead::TReadAhead(unsigned Threads) {
  for (unsigned I = 0; I < Threads; ++I) {
    FThreads.emplace_back([this](const std::stop_token& Stop) { Work(Stop); });
  }
}

TReadAhead::~TReadAhead() {
  for (std::jthread& T : FThreads) T.request_stop();
  FWake.notify_all();
  FThreads.clear();  // joins; a job a thread still holds is kept alive by its own reference
}

std::shared_ptr<TReadAhead::TJob> TReadAhead::Queue(std::string Path, bool NoFollow, size_t Want) {
  std::string Buffer;
  std::unique_lock Lock(FLock);
  if (!FSpare.empty()) {
    Buffer = std::move(FSpare.back());
    FSpare.pop_back();
  }
  auto Job = std::make_shared<TJob>(std::move(Path), NoFollow, Want, std::move(Buffer));
  if (!FThreads.empty()) {
    FQueue.push_back(Job);
    FQueued.store(FQueue.size(), std::memory_order_relaxed);
    const bool Wake = FSleeping > 0;
    Lock.unlock();
    if (Wake) FWake.notify_one();
  }
  return Job;
}

TCandidateRead& TReadAhead::Take(TJob& Job, const std::deque<std::shared_ptr<TJob>>& Later) {
  if (Job.Claim()) {
    Job.Read.Run(UINT64_MAX);
    Job.State = TJob::jsDone;
    return Job.Read;
  }
  // While a thread reads this one, the caller reads the next ones nobody has started.
  for (const std::shared_ptr<TJob>& Next : Later) {
    if (Job.State.load() != TJob::jsRunning) break;
    if (!Next->Claim()) continue;
    Next->Read.Run(FileLimit);
    Next->State = TJob::jsDone;
  }
  // A read ahead is bounded by FileLimit, so it ends soon: waiting awake costs less than being woken.
  for (int Spin = 0; Job.State.load() == TJob::jsRunning; ++Spin) {
    if (Spin < SpinRounds) {
      Relax();
    } else {
      std::this_thread::yield();
    }
  }
  // Read ahead as far as the limit let it: what is left of a big file is read here.
  Job.Read.Run(UINT64_MAX);
  return Job.Read;
}

void TReadAhead::Release(std::shared_ptr<TJob> Job) {
  // A job given up before it was taken is claimed here so that no thread starts it; one a thread
  // is still reading keeps its buffer.
  if (Job->State.load() != TJob::jsDone && !Job->Claim()) return;
  Job->State = TJob::jsDone;
  std::string Buffer = std::move(Job->FBuffer);
  Job.reset();
  std::lock_guard Lock(FLock);
  if (FSpare.size() < Depth) FSpare.push_back(std::move(Buffer));
}

void TReadAhead::Work(const std::stop_token& Stop) {
  for (;;) {
    for (int Spin = 0; Spin < SpinRounds && FQueued.load(std::memory_order_relaxed) == 0 && !Stop.stop_requested(); ++Spin) {
      Relax();
    }
    std::shared_ptr<TJob> Job;
    {
      std::unique_lock Lock(FLock);
      ++FSleeping;
      const bool Got = FWake.wait(Lock, Stop, [this] { return !FQueue.empty(); });
      --FSleeping;
      if (!Got) return;
      Job = std::move(FQueue.front());
      FQueue.pop_front();
      FQueued.store(FQueue.size(), std::memory_order_relaxed);
    }
    if (!Job->Claim()) continue;  // the caller came first
    Job->Read.Run(FileLimit);
    Job->State = TJob::jsDone;
  }
}

}  // namespace tesvarin
