// Components: named persistent objects that tell the components watching them when they go away.
#pragma once

#include <string>
#include <vector>

#include "support/Object.h"

namespace tesvarin {

enum TOperation : uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  TComponent() = default;
  ~TComponent() override;

  [[nodiscard]] const std::string& Name() const { return FName; }
  void SetName(std::string Value) { FName = std::move(Value); }

  // Watcher's Notification(this, opRemove) is called when this component is destroyed.
  void FreeNotification(TComponent* Watcher);
  void RemoveFreeNotification(TComponent* Watcher);

protected:
  virtual void Notification(TComponent* Component, TOperation Operation) {
    (void)Component;
    (void)Operation;
  }

private:
  void RemoveWatcher(TComponent* Watcher);
  std::string FName;
  std::vector<TComponent*> FFreeNotifies;  // both ways: whoever is in one list is told of the other's end
};

}  // namespace tesvarin
