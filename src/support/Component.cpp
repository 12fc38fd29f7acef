#include "support/Component.h"

#include <algorithm>

namespace tesvarin {

TComponent::~TComponent() {
  // Copy first: a watcher may unregister itself while it is told.
  std::vector<TComponent*> Watchers = std::move(FFreeNotifies);
  FFreeNotifies.clear();
  for (TComponent* W : Watchers) {
    W->RemoveWatcher(this);
    W->Notification(this, opRemove);
  }
}

void TComponent::FreeNotification(TComponent* Watcher) {
  if (Watcher == nullptr || Watcher == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), Watcher) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(Watcher);
  }
  if (std::find(Watcher->FFreeNotifies.begin(), Watcher->FFreeNotifies.end(), this) == Watcher->FFreeNotifies.end()) {
    Watcher->FFreeNotifies.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* Watcher) {
  if (Watcher == nullptr) return;
  RemoveWatcher(Watcher);
  Watcher->RemoveWatcher(this);
}

void TComponent::RemoveWatcher(TComponent* Watcher) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), Watcher), FFreeNotifies.end());
}

}  // namespace tesvarin
