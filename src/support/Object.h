// The root of the object tree, persistent objects with Assign, and comparable method pointers.
#pragma once

#include <functional>
#include <memory>

#include "support/Exception.h"

namespace tesvarin {

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// A method pointer: the handler object and the function that calls the member on it. Two events are
// the same method when both words are equal, which is what removal from a handler list relies on.
struct TNotifyEvent {
  using TCode = void (*)(void* Data, TObject* Sender);

  TCode Code = nullptr;
  void* Data = nullptr;

  template <auto Method, class C>
  [[nodiscard]] static TNotifyEvent Of(C* Object) {
    return TNotifyEvent{&Thunk<Method, C>, Object, nullptr};
  }
  // A free-standing handler; copies of the returned event compare equal to each other only.
  [[nodiscard]] static TNotifyEvent Lambda(std::function<void(TObject*)> Fn) {
    auto Holder = std::make_shared<std::function<void(TObject*)>>(std::move(Fn));
    return TNotifyEvent{&CallHeld, Holder.get(), std::move(Holder)};
  }

  explicit operator bool() const { return Code != nullptr; }
  void operator()(TObject* Sender) const { Code(Data, Sender); }
  friend bool operator==(const TNotifyEvent& A, const TNotifyEvent& B) { return A.Code == B.Code && A.Data == B.Data; }

  std::shared_ptr<std::function<void(TObject*)>> Held;  // keeps a Lambda's function alive

private:
  template <auto Method, class C>
  static void Thunk(void* Data, TObject* Sender) {
    (static_cast<C*>(Data)->*Method)(Sender);
  }
  static void CallHeld(void* Data, TObject* Sender) { (*static_cast<std::function<void(TObject*)>*>(Data))(Sender); }
};

class EConvertAssign : public Exception {
public:
  using Exception::Exception;
};

class TPersistent : public TObject {
public:
  // Copies Source into this object; classes that cannot take Source raise EConvertAssign.
  virtual void Assign(const TPersistent& Source);
  [[nodiscard]] virtual TPersistent* GetOwner() const { return nullptr; }
};

}  // namespace tesvarin
