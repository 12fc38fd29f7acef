// Records the Sender of every change notification it receives.
#pragma once

#include <vector>

#include "support/Object.h"

namespace tesvarin::test {

struct Recorder : TObject {
  std::vector<TObject*> Senders;
  void Handle(TObject* Sender) { Senders.push_back(Sender); }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Recorder::Handle>(this); }
};

}  // namespace tesvarin::test
